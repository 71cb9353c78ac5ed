// Fade: the picture times g_alpha.
float dx_width;
float dx_height;
float g_alpha : register(ps, c0) = 1.0;
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
      def c20, 1.0, 0.0, 0.0, 0.0
      dcl_texcoord0 v0.xy
      dcl_2d s0
      texld r0, v0, s0
      mul r0.xyz, r0, c0.x
      mov r0.w, c20.x
      mov oC0, r0
    };
  }
}
