// One point light over the G-buffer, read projectively at the pixel: adds
// clamp(colour, g_lightAmbientMin, 1) x light colour x half-Lambert x linear
// fall-off, nothing on the pixels of the light's own object.
float dx_width : register(vs, c12);
float dx_height : register(vs, c13);
float4x4 g_worldViewProj : register(vs, c0);
float4x4 g_world : register(vs, c4);
row_major float4x4 g_view : register(vs, c8) : register(ps, c8);
float4 g_lightPosition : register(ps, c0) = {0.0, 0.0, 0.0, 1.0};
float4 g_lightColor : register(ps, c1) = {1.0, 1.0, 1.0, 1.0};
float g_lightRange : register(ps, c2) = 100.0;
float g_lightAmbientMin : register(ps, c3) = 0.0;
int g_idObjSkipped : register(ps, c4) = 0;
texture g_colorTexture;
texture g_normalTexture;
texture g_infoTexture;
sampler2D s_color : register(s0) = sampler_state {
  Texture = <g_colorTexture>;
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
sampler2D s_info : register(s2) = sampler_state {
  Texture = <g_infoTexture>;
  AddressU = Clamp;
  AddressV = Clamp;
  MinFilter = Point;
  MagFilter = Point;
  MipFilter = None;
};

technique Default {
  pass p0 {
    VertexShader = asm {
      vs_3_0
      def c20, 0.5, -0.5, 0.0, 0.0
      dcl_position v0
      dcl_position o0
      dcl_texcoord0 o1
      dcl_texcoord1 o2.xyz
      dp4 r0.x, v0, c0
      dp4 r0.y, v0, c1
      dp4 r0.z, v0, c2
      dp4 r0.w, v0, c3
      mov o0, r0
      // projective screen coordinates with the half-texel offset
      rcp r1.x, c12.x
      rcp r1.y, c13.x
      mad r1.xy, r1, c20.x, c20.x
      mul r1.xy, r1, r0.w
      mad r2.x, r0.x, c20.x, r1.x
      mad r2.y, r0.y, c20.y, r1.y
      mov r2.zw, r0
      mov o1, r2
      // view ray: world position - camera position
      dp4 r3.x, v0, c4
      dp4 r3.y, v0, c5
      dp4 r3.z, v0, c6
      add o2.xyz, r3, -c11
    };
    PixelShader = asm {
      ps_3_0
      def c20, 127.0, 128.0, 0.5, 1.0
      def c21, 0.0, 0.000000000001, 0.0, 0.0
      dcl_texcoord0 v0
      dcl_texcoord1 v1.xyz
      dcl_2d s0
      dcl_2d s1
      dcl_2d s2
      // object id, 0 in r1.w when it is the skipped one
      texldp r0, v0, s2
      mad r1.xy, r0, c20.x, c20.z
      frc r2.xy, r1
      add r1.xy, r1, -r2
      mad r1.x, r1.x, c20.y, r1.y
      add r1.x, r1.x, -c4.x
      abs r1.x, r1.x
      add r1.x, r1.x, -c20.z
      cmp r1.w, r1.x, c20.w, c21.x
      // surface position from the view ray and the eye distance
      texldp r3, v0, s1
      texldp r4, v0, s0
      nrm r5.xyz, v1
      mad r5.xyz, r5, r3.w, c11
      // direction to the light and linear fall-off
      add r6.xyz, c0, -r5
      dp3 r6.w, r6, r6
      max r6.w, r6.w, c21.y
      rsq r7.x, r6.w
      mul r8.xyz, r6, r7.x
      rcp r7.y, r7.x
      rcp r7.z, c2.x
      mad_sat r7.w, -r7.y, r7.z, c20.w
      // half-Lambert times fall-off
      dp3 r9.x, r8, r3
      mad_sat r9.x, r9.x, c20.z, c20.z
      mul r9.x, r9.x, r7.w
      mul r9.x, r9.x, r1.w
      max r10.xyz, r4, c3.x
      min r10.xyz, r10, c20.w
      mul r10.xyz, r10, c1
      mul r10.xyz, r10, r9.x
      mov r10.w, c20.w
      mov oC0, r10
    };
  }
}
