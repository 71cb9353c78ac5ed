// Down-sample: the average of 16 samples around the pixel, the offsets in
// texels of the full-size input.
float dx_width : register(ps, c0);
float dx_height : register(ps, c1);
float2 g_pixelCoords[16] : register(ps, c2) = {
  {1.5, 1.5}, {1.5, 0.5}, {1.5, -0.5}, {1.5, -1.5},
  {0.5, 1.5}, {0.5, 0.5}, {0.5, -0.5}, {0.5, -1.5},
  {-0.5, 1.5}, {-0.5, 0.5}, {-0.5, -0.5}, {-0.5, -1.5},
  {-1.5, 1.5}, {-1.5, 0.5}, {-1.5, -0.5}, {-1.5, -1.5}
};
sampler2D s_input : register(s0) = sampler_state {
  AddressU = Clamp;
  AddressV = Clamp;
  MinFilter = Point;
  MagFilter = Point;
  MipFilter = None;
};

technique Default {
  pass p0 {
    PixelShader = asm {
      ps_3_0
      def c30, 1.0, 0.0625, 0.0, 0.0
      dcl_texcoord0 v0.xy
      dcl_2d s0
      add r0.x, c0.x, -c30.x
      add r0.y, c1.x, -c30.x
      rcp r1.x, r0.x
      rcp r1.y, r0.y
      mov r2, c30.z
      mov r1.zw, c30.z
      mad r2.xy, c2, r1, v0
      texld r3, r2, s0
      mad r2.xy, c3, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c4, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c5, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c6, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c7, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c8, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c9, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c10, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c11, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c12, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c13, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c14, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c15, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c16, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mad r2.xy, c17, r1, v0
      texld r4, r2, s0
      add r3, r3, r4
      mul r3.xyz, r3, c30.y
      mov r3.w, c30.x
      mov oC0, r3
    };
  }
}
