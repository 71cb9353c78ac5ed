# Effects ("gravrun2.fx"), included by data/CMakeLists.txt: the effect texts
# of effects/ (the engine's effect form, shaders in assembly), copied as
# they are.
#
# The stage folder is made anew from these sources at every change.

file(GLOB DATA_EFFECT_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/effects/*.fx)
list(SORT DATA_EFFECT_FILES)
add_custom_command(
  OUTPUT ${DATA_STAGE_DIR}/fx.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${DATA_STAGE_DIR}/fx
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DATA_STAGE_DIR}/fx
  COMMAND ${CMAKE_COMMAND} -E copy ${DATA_EFFECT_FILES} ${DATA_STAGE_DIR}/fx/
  COMMAND ${CMAKE_COMMAND} -E touch ${DATA_STAGE_DIR}/fx.stamp
  DEPENDS ${DATA_EFFECT_FILES}
  COMMENT "Staging the effect files"
  VERBATIM)
set(DATA_FX_OUTPUTS ${DATA_STAGE_DIR}/fx.stamp)
