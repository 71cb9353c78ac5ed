// G-buffer: output 0 the surface colour, 1 the world normal and the eye
// distance, 2 the object id (id / 128 and id mod 128, each / 127), 3 the
// colour lit by the directional light. The per-object values (material
// colours, object id) are vertex-stage constants handed on unchanged, so
// that a draw sets no pixel-shader constants. The technique "Instanced"
// holds the same vertex shader for many objects in one draw: each object's
// registers c0 to c6 and c12 come from a second vertex stream, as
// texcoord1 to texcoord8, and the arithmetic is the same.
float dx_width;
float dx_height;
float4x4 g_worldViewProj : register(vs, c0);
float4x4 g_world : register(vs, c4);
row_major float4x4 g_view : register(vs, c8);
bool g_hasColorMap : register(ps, b0) = false;
bool g_hasNormalMap : register(ps, b1) = false;
float4 g_worldAmbientColor : register(ps, c0) = {1.0, 1.0, 1.0, 1.0};
float4 g_ambientColor : register(vs, c13) = {1.0, 1.0, 1.0, 1.0};
float4 g_diffuseColor : register(vs, c14) = {1.0, 1.0, 1.0, 1.0};
float4 g_specularColor : register(vs, c15) = {0.0, 0.0, 0.0, 0.0};
float4 g_lightDirection : register(ps, c4) = {0.0, -1.0, 0.0, 0.0};
float4 g_lightColor : register(ps, c5) = {0.0, 0.0, 0.0, 1.0};
float g_glossiness : register(ps, c6) = 32.0;
float g_brightness : register(ps, c7) = 0.0;
float g_contrast : register(ps, c8) = 0.0;
int g_idObj : register(vs, c12) = 0;
texture g_colorTexture;
texture g_normalTexture;
sampler2D s_color : register(s0) = sampler_state {
  Texture = <g_colorTexture>;
  AddressU = Wrap;
  AddressV = Wrap;
  MinFilter = Linear;
  MagFilter = Linear;
  MipFilter = Linear;
};
sampler2D s_normal : register(s1) = sampler_state {
  Texture = <g_normalTexture>;
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
      def c20, 0.0, 0.0, 0.0, 1.0
      def c21, 0.0078125, 128.0, 0.007874016, 0.0
      dcl_position v0
      dcl_texcoord v1
      dcl_normal v2
      dcl_binormal v3
      dcl_tangent v4
      dcl_position o0
      dcl_texcoord0 o1
      dcl_texcoord1 o2
      dcl_texcoord2 o3
      dcl_texcoord3 o4
      dcl_texcoord4 o5
      dcl_texcoord5 o6
      dcl_texcoord6 o7
      dcl_texcoord7 o8
      // the object id as (id / 128, id mod 128) / 127, the material colours
      mul r7.x, c12.x, c21.x
      frc r7.y, r7.x
      add r7.x, r7.x, -r7.y
      mad r7.y, r7.x, -c21.y, c12.x
      mul r7.xy, r7, c21.z
      mov r7.zw, c20.x
      mov o5, r7
      mov o6, c13
      mov o7, c14
      mov o8, c15
      dp4 o0.x, v0, c0
      dp4 o0.y, v0, c1
      dp4 o0.z, v0, c2
      dp4 o0.w, v0, c3
      // world position, eye vector (camera position - world position), depth
      dp4 r0.x, v0, c4
      dp4 r0.y, v0, c5
      dp4 r0.z, v0, c6
      add r1.xyz, c11, -r0
      dp3 r1.w, r1, r1
      rsq r2.x, r1.w
      rcp r2.y, r2.x
      mov r3.xy, v1
      mov r3.z, r2.y
      mov r3.w, c20.w
      mov o1, r3
      // normal, binormal, tangent in world space, the eye vector in w
      dp3 r4.x, v2, c4
      dp3 r4.y, v2, c5
      dp3 r4.z, v2, c6
      mov r4.w, r1.x
      mov o2, r4
      dp3 r5.x, v3, c4
      dp3 r5.y, v3, c5
      dp3 r5.z, v3, c6
      mov r5.w, r1.y
      mov o3, r5
      dp3 r6.x, v4, c4
      dp3 r6.y, v4, c5
      dp3 r6.z, v4, c6
      mov r6.w, r1.z
      mov o4, r6
    };
    PixelShader = asm {
      ps_3_0
      def c20, 0.0, 0.0, 1.0, 0.0
      def c21, 2.0, -1.0, 0.5, 1.0
      dcl_texcoord0 v0.xyz
      dcl_texcoord1 v1
      dcl_texcoord2 v2
      dcl_texcoord3 v3
      dcl_texcoord4 v4
      dcl_texcoord5 v5
      dcl_texcoord6 v6
      dcl_texcoord7 v7
      dcl_2d s0
      dcl_2d s1
      // tangent-space normal
      if b1
        texld r0, v0, s1
        mad r0.xyz, r0, c21.x, c21.y
      else
        mov r0.xyz, c20
      endif
      // output 1: normalize(n.x tangent + n.y binormal + n.z normal), depth
      mul r1.xyz, r0.x, v3
      mad r1.xyz, r0.y, v2, r1
      mad r1.xyz, r0.z, v1, r1
      nrm r2.xyz, r1
      mov r2.w, v0.z
      mov oC1, r2
      // output 2: the object id
      mov oC2, v4
      // output 0: texture or ambient colour with contrast and brightness
      if b0
        texld r4, v0, s0
      else
        mov r4, v5
      endif
      add r5.x, c21.w, c7.x
      add r4.xyz, r4, -c8.x
      mul r4.xyz, r4, r5.x
      mov oC0, r4
      // output 3: ambient + (diffuse + specular) x light colour
      mul r6.xyz, r0.z, v1
      mad r6.xyz, r0.x, v2, r6
      mad r6.xyz, -r0.y, v3, r6
      nrm r7.xyz, r6
      mov r8.x, v1.w
      mov r8.y, v2.w
      mov r8.z, v3.w
      nrm r9.xyz, r8
      mul r10.xyz, c0, v5
      mul r10.xyz, r10, r4
      dp3_sat r11.x, r7, -c4
      mul r12.xyz, v6, r4
      mul r12.xyz, r12, r11.x
      add r13.xyz, r9, -c4
      nrm r14.xyz, r13
      dp3_sat r11.y, r7, r14
      pow r11.z, r11.y, c6.x
      mad r12.xyz, r11.z, v7, r12
      mad r15.xyz, r12, c5, r10
      mov r15.w, r4.w
      mov oC3, r15
    };
  }
}

technique Instanced {
  pass p0 {
    VertexShader = asm {
      vs_3_0
      def c20, 0.0, 0.0, 0.0, 1.0
      def c21, 0.0078125, 128.0, 0.007874016, 0.0
      dcl_position v0
      dcl_texcoord v1
      dcl_normal v2
      dcl_binormal v3
      dcl_tangent v4
      dcl_texcoord1 v5
      dcl_texcoord2 v6
      dcl_texcoord3 v7
      dcl_texcoord4 v8
      dcl_texcoord5 v9
      dcl_texcoord6 v10
      dcl_texcoord7 v11
      dcl_texcoord8 v12
      dcl_position o0
      dcl_texcoord0 o1
      dcl_texcoord1 o2
      dcl_texcoord2 o3
      dcl_texcoord3 o4
      dcl_texcoord4 o5
      dcl_texcoord5 o6
      dcl_texcoord6 o7
      dcl_texcoord7 o8
      mul r7.x, v12.x, c21.x
      frc r7.y, r7.x
      add r7.x, r7.x, -r7.y
      mad r7.y, r7.x, -c21.y, v12.x
      mul r7.xy, r7, c21.z
      mov r7.zw, c20.x
      mov o5, r7
      mov o6, c13
      mov o7, c14
      mov o8, c15
      dp4 o0.x, v0, v5
      dp4 o0.y, v0, v6
      dp4 o0.z, v0, v7
      dp4 o0.w, v0, v8
      dp4 r0.x, v0, v9
      dp4 r0.y, v0, v10
      dp4 r0.z, v0, v11
      add r1.xyz, c11, -r0
      dp3 r1.w, r1, r1
      rsq r2.x, r1.w
      rcp r2.y, r2.x
      mov r3.xy, v1
      mov r3.z, r2.y
      mov r3.w, c20.w
      mov o1, r3
      dp3 r4.x, v2, v9
      dp3 r4.y, v2, v10
      dp3 r4.z, v2, v11
      mov r4.w, r1.x
      mov o2, r4
      dp3 r5.x, v3, v9
      dp3 r5.y, v3, v10
      dp3 r5.z, v3, v11
      mov r5.w, r1.y
      mov o3, r5
      dp3 r6.x, v4, v9
      dp3 r6.y, v4, v10
      dp3 r6.z, v4, v11
      mov r6.w, r1.z
      mov o4, r6
    };
  }
}
