// Speed blur: the picture blended with the previous frame by g_speed x
// g_coef x (1 - saturate(depth / g_distance)).
float dx_width;
float dx_height;
float g_speed : register(ps, c0) = 0.0;
float g_coef : register(ps, c1) = 1.0;
float g_distance : register(ps, c2) = 5000.0;
texture g_normalTexture;
texture g_previousTexture;
sampler2D s_input : register(s0) = sampler_state {
  AddressU = Clamp;
  AddressV = Clamp;
  MinFilter = Point;
  MagFilter = Point;
  MipFilter = None;
};
sampler2D s_normal : register(s1) = sampler_state {
  Texture = <g_normalTexture>;
  AddressU = Clamp;
  AddressV = Clamp;
  MinFilter = Point;
  MagFilter = Point;
  MipFilter = None;
};
sampler2D s_previous : register(s2) = sampler_state {
  Texture = <g_previousTexture>;
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
      dcl_2d s1
      dcl_2d s2
      texld r0, v0, s0
      texld r1, v0, s1
      texld r2, v0, s2
      rcp r3.x, c2.x
      mul_sat r3.x, r1.w, r3.x
      add r3.x, c20.x, -r3.x
      mul r3.y, c0.x, c1.x
      mul r3.y, r3.y, r3.x
      lrp r4.xyz, r3.y, r2, r0
      mov r4.w, c20.x
      mov oC0, r4
    };
  }
}
