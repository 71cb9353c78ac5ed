// Unlit object colour: texture sample (or white), contrast and brightness,
// tinted by the world ambient and the material's ambient colour.
float dx_width;
float dx_height;
float4x4 g_worldViewProj : register(vs, c0);
bool g_hasColorMap : register(ps, b0) = false;
float g_brightness : register(ps, c0) = 0.0;
float g_contrast : register(ps, c1) = 0.0;
float4 g_worldAmbientColor : register(ps, c2) = {1.0, 1.0, 1.0, 1.0};
float4 g_ambientColor : register(ps, c3) = {1.0, 1.0, 1.0, 1.0};
texture g_colorTexture;
sampler2D s_color : register(s0) = sampler_state {
  Texture = <g_colorTexture>;
  AddressU = Wrap;
  AddressV = Wrap;
  MinFilter = Linear;
  MagFilter = Linear;
  MipFilter = Linear;
};

technique Default {
  pass p0 {
    VertexShader = asm {
      vs_3_0
      dcl_position v0
      dcl_texcoord v1
      dcl_position o0
      dcl_texcoord o1.xy
      dp4 o0.x, v0, c0
      dp4 o0.y, v0, c1
      dp4 o0.z, v0, c2
      dp4 o0.w, v0, c3
      mov o1.xy, v1
    };
    PixelShader = asm {
      ps_3_0
      def c10, 1.0, 0.0, 0.0, 0.0
      dcl_texcoord v0.xy
      dcl_2d s0
      if b0
        texld r0, v0, s0
      else
        mov r0, c10.x
      endif
      add r1.x, c10.x, c0.x
      add r0.xyz, r0, -c1.x
      mul r0.xyz, r0, r1.x
      mul r0.xyz, r0, c2
      mul r0.xyz, r0, c3
      mov oC0, r0
    };
  }
}
