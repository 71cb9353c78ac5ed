// The same blur along v.
float dx_width;
float dx_height;
float g_height : register(ps, c0) = 0.0;
float g_scale : register(ps, c1) = 1.0;
float g_alpha : register(ps, c2) = 1.0;
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
      def c20, 0.199471, 0.176033, 0.120985, 0.064759
      def c21, 0.026995, 0.008764, 0.002216, 1.0
      def c22, 1.0, 2.0, 3.0, 4.0
      def c23, 5.0, 6.0, 0.0, 0.0
      dcl_texcoord0 v0.xy
      dcl_2d s0
      add r0.x, c0.x, -c21.w
      rcp r0.x, r0.x
      mov r3.zw, c23.z
      mov r3.x, v0.x
      texld r1, v0, s0
      mul r2, r1, c20.x
      mad r3.y, c22.x, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c20.y, r2
      mad r3.y, -c22.x, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c20.y, r2
      mad r3.y, c22.y, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c20.z, r2
      mad r3.y, -c22.y, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c20.z, r2
      mad r3.y, c22.z, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c20.w, r2
      mad r3.y, -c22.z, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c20.w, r2
      mad r3.y, c22.w, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c21.x, r2
      mad r3.y, -c22.w, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c21.x, r2
      mad r3.y, c23.x, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c21.y, r2
      mad r3.y, -c23.x, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c21.y, r2
      mad r3.y, c23.y, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c21.z, r2
      mad r3.y, -c23.y, r0.x, v0.y
      texld r4, r3, s0
      mad r2, r4, c21.z, r2
      mul r5.x, c1.x, c2.x
      add r5.y, c21.w, -c2.x
      mul r6.xyz, r2, r5.x
      mad r6.xyz, r1, r5.y, r6
      mov r6.w, c21.w
      mov oC0, r6
    };
  }
}
