// Grey: the luminance of the picture, blended with the picture by g_alpha.
float dx_width;
float dx_height;
float g_alpha : register(ps, c0) = 1.0;
float3 g_luminance : register(ps, c1) = {0.2125, 0.7154, 0.0721};
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
      dcl_texcoord0 v0.xy
      dcl_2d s0
      texld r0, v0, s0
      dp3 r1.x, r0, c1
      // input x (1 - alpha) + luminance x alpha, in all four channels
      lrp r2, c0.x, r1.x, r0
      mov oC0, r2
    };
  }
}
