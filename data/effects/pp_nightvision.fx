// Night vision, a full-screen effect: the picture's luminance, amplified and
// tinted green, with faint scan lines, seen through a round opening of
// radius g_radius (1.0 reaches the corners of the screen, 0.0 is closed);
// outside the opening all is black. The edge of the opening is soft over
// 1/20 of the radius range.
float g_radius : register(ps, c0) = 1.0;
float dx_width : register(ps, c1) = 800.0;
float dx_height : register(ps, c2) = 450.0;
sampler2D s_input : register(s0) = sampler_state {
  AddressU = Clamp;
  AddressV = Clamp;
  MinFilter = Point;
  MagFilter = Linear;
  MipFilter = Linear;
};

technique Default {
  pass p0 {
    PixelShader = asm {
      ps_3_0
      def c20, 0.30, 0.59, 0.11, 2.5
      def c21, 0.35, 1.0, 0.45, 1.0
      def c22, 0.5, 20.0, 0.8, 0.25
      dcl_texcoord0 v0.xy
      dcl_2d s0
      // luminance times the gain
      texld r0, v0, s0
      dp3 r1.x, r0, c20
      mul_sat r1.x, r1.x, c20.w
      // scan lines: every second pixel row at 0.8
      mul r2.x, v0.y, c2.x
      mul r2.x, r2.x, c22.x
      frc r2.x, r2.x
      add r2.x, r2.x, -c22.x
      cmp r2.x, r2.x, c22.z, c21.w
      mul r1.x, r1.x, r2.x
      mul r3.xyz, r1.x, c21
      // distance from the centre over the distance of a corner
      rcp r4.x, c2.x
      mul r4.x, c1.x, r4.x
      add r5.xy, v0, -c22.x
      mul r5.x, r5.x, r4.x
      mul r6.x, r5.x, r5.x
      mad r6.x, r5.y, r5.y, r6.x
      mul r7.x, r4.x, r4.x
      mad r7.x, r7.x, c22.w, c22.w
      rcp r7.x, r7.x
      mul r6.x, r6.x, r7.x
      rsq r6.y, r6.x
      rcp r6.x, r6.y
      // soft round opening
      add r8.x, c0.x, -r6.x
      mul_sat r8.x, r8.x, c22.y
      mul r3.xyz, r3, r8.x
      mov r3.w, c21.w
      mov oC0, r3
    };
  }
}
