// The effect texts of the engine's built-in effects and of the game's screen
// effects, in the engine's effect form (see SDxEffect.h).
#include "core/Platform.h"
#include "engine/SDxShader.h"

// Unlit object colour: texture sample (or white), contrast and brightness,
// tinted by the world ambient and the material's ambient colour.
const char* const SDxShader::TEXT_DEFAULT = R"(
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
)";

// G-buffer: output 0 the surface colour, 1 the world normal and the eye
// distance, 2 the object id (id / 128 and id mod 128, each / 127), 3 the
// colour lit by the directional light.
const char* const SDxShader::TEXT_GBUFFER = R"(
float dx_width;
float dx_height;
float4x4 g_worldViewProj : register(vs, c0);
float4x4 g_world : register(vs, c4);
row_major float4x4 g_view : register(vs, c8);
bool g_hasColorMap : register(ps, b0) = false;
bool g_hasNormalMap : register(ps, b1) = false;
float4 g_worldAmbientColor : register(ps, c0) = {1.0, 1.0, 1.0, 1.0};
float4 g_ambientColor : register(ps, c1) = {1.0, 1.0, 1.0, 1.0};
float4 g_diffuseColor : register(ps, c2) = {1.0, 1.0, 1.0, 1.0};
float4 g_specularColor : register(ps, c3) = {0.0, 0.0, 0.0, 0.0};
float4 g_lightDirection : register(ps, c4) = {0.0, -1.0, 0.0, 0.0};
float4 g_lightColor : register(ps, c5) = {0.0, 0.0, 0.0, 1.0};
float g_glossiness : register(ps, c6) = 32.0;
float g_brightness : register(ps, c7) = 0.0;
float g_contrast : register(ps, c8) = 0.0;
int g_idObj : register(ps, c9) = 0;
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
      def c22, 0.0078125, 128.0, 0.007874016, 0.0
      dcl_texcoord0 v0.xyz
      dcl_texcoord1 v1
      dcl_texcoord2 v2
      dcl_texcoord3 v3
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
      mul r3.x, c9.x, c22.x
      frc r3.y, r3.x
      add r3.x, r3.x, -r3.y
      mad r3.y, r3.x, -c22.y, c9.x
      mul r3.xy, r3, c22.z
      mov r3.zw, c20.x
      mov oC2, r3
      // output 0: texture or ambient colour with contrast and brightness
      if b0
        texld r4, v0, s0
      else
        mov r4, c1
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
      mul r10.xyz, c0, c1
      mul r10.xyz, r10, r4
      dp3_sat r11.x, r7, -c4
      mul r12.xyz, c2, r4
      mul r12.xyz, r12, r11.x
      add r13.xyz, r9, -c4
      nrm r14.xyz, r13
      dp3_sat r11.y, r7, r14
      pow r11.z, r11.y, c6.x
      mad r12.xyz, r11.z, c3, r12
      mad r15.xyz, r12, c5, r10
      mov r15.w, r4.w
      mov oC3, r15
    };
  }
}
)";

// One point light over the G-buffer, read projectively at the pixel: adds
// clamp(colour, g_lightAmbientMin, 1) x light colour x half-Lambert x linear
// fall-off, nothing on the pixels of the light's own object.
const char* const SDxShader::TEXT_DEFERRED = R"(
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
)";

// Fog: the picture darkens toward black with the eye distance (NormalRT w)
// between g_fogMin and g_fogMax.
const char* const SDxShader::TEXT_FOG = R"(
float dx_width;
float dx_height;
float g_fogMin : register(ps, c0) = 0.0;
float g_fogMax : register(ps, c1) = 10000.0;
texture g_normalTexture;
sampler2D s_input : register(s0) = sampler_state {
  AddressU = Clamp;
  AddressV = Clamp;
  MinFilter = Point;
  MagFilter = Linear;
  MipFilter = Linear;
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
)";

// Down-sample: the average of 16 samples around the pixel, the offsets in
// texels of the full-size input.
const char* const SDxShader::TEXT_DOWNSAMPLE = R"(
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
  MagFilter = Linear;
  MipFilter = Linear;
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
)";

// Gaussian blur (sigma 2, 13 taps) along u; g_alpha below 1 mixes the
// unblurred input back in.
const char* const SDxShader::TEXT_BLUR_HORIZONTAL = R"(
float dx_width;
float dx_height;
float g_width : register(ps, c0) = 0.0;
float g_scale : register(ps, c1) = 1.0;
float g_alpha : register(ps, c2) = 1.0;
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
      def c20, 0.199471, 0.176033, 0.120985, 0.064759
      def c21, 0.026995, 0.008764, 0.002216, 1.0
      def c22, 1.0, 2.0, 3.0, 4.0
      def c23, 5.0, 6.0, 0.0, 0.0
      dcl_texcoord0 v0.xy
      dcl_2d s0
      add r0.x, c0.x, -c21.w
      rcp r0.x, r0.x
      mov r3.zw, c23.z
      mov r3.y, v0.y
      texld r1, v0, s0
      mul r2, r1, c20.x
      mad r3.x, c22.x, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c20.y, r2
      mad r3.x, -c22.x, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c20.y, r2
      mad r3.x, c22.y, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c20.z, r2
      mad r3.x, -c22.y, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c20.z, r2
      mad r3.x, c22.z, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c20.w, r2
      mad r3.x, -c22.z, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c20.w, r2
      mad r3.x, c22.w, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c21.x, r2
      mad r3.x, -c22.w, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c21.x, r2
      mad r3.x, c23.x, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c21.y, r2
      mad r3.x, -c23.x, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c21.y, r2
      mad r3.x, c23.y, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c21.z, r2
      mad r3.x, -c23.y, r0.x, v0.x
      texld r4, r3, s0
      mad r2, r4, c21.z, r2
      // input x (1 - alpha) + sum x scale x alpha
      mul r5.x, c1.x, c2.x
      add r5.y, c21.w, -c2.x
      mul r6.xyz, r2, r5.x
      mad r6.xyz, r1, r5.y, r6
      mov r6.w, c21.w
      mov oC0, r6
    };
  }
}
)";

// The same blur along v.
const char* const SDxShader::TEXT_BLUR_VERTICAL = R"(
float dx_width;
float dx_height;
float g_height : register(ps, c0) = 0.0;
float g_scale : register(ps, c1) = 1.0;
float g_alpha : register(ps, c2) = 1.0;
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
)";

// Fade: the picture times g_alpha.
const char* const SDxShader::TEXT_FADE = R"(
float dx_width;
float dx_height;
float g_alpha : register(ps, c0) = 1.0;
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
)";

// Grey: the luminance of the picture, blended with the picture by g_alpha.
const char* const SDxShader::TEXT_GREY = R"(
float dx_width;
float dx_height;
float g_alpha : register(ps, c0) = 1.0;
float3 g_luminance : register(ps, c1) = {0.2125, 0.7154, 0.0721};
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
)";

// Speed blur: the picture blended with the previous frame by g_speed x
// g_coef x (1 - saturate(depth / g_distance)).
const char* const SDxShader::TEXT_SPEED_BLUR = R"(
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
  MagFilter = Linear;
  MipFilter = Linear;
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
  MagFilter = Linear;
  MipFilter = Linear;
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
)";
