// Fog: the picture darkens toward black with the eye distance (NormalRT w)
// between g_fogMin and g_fogMax.
float dx_width;
float dx_height;
float g_fogMin : register(ps, c0) = 0.0;
float g_fogMax : register(ps, c1) = 10000.0;
texture g_normalTexture;
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

technique Default {
  pass p0 {
    PixelShader = asm {
      ps_3_0
      def c20, 1.0, 0.0, 0.0, 0.0
      dcl_texcoord0 v0.xy
      dcl_2d s0
      dcl_2d s1
      texld r0, v0, s0
      texld r1, v0, s1
      add r2.x, c1.x, -c0.x
      rcp r2.x, r2.x
      add r2.y, r1.w, -c0.x
      mul_sat r2.y, r2.y, r2.x
      add r2.z, c20.x, -r2.y
      mul r0.xyz, r0, r2.z
      mov r0.w, c20.x
      mov oC0, r0
    };
  }
}
