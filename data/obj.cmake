# Meshes ("gravrun2.obj"), included by data/CMakeLists.txt: every
# meshes/NAME.txt describes the mesh file NAME (format in
# tools/meshpack/MeshDescription.h), which tools/meshpack writes as .X text,
# or as the engine's mesh container with the textures it carries.
#
# The stage folder is made anew from these sources at every change.

file(GLOB DATA_MESH_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/meshes/*.txt)
list(SORT DATA_MESH_FILES)
add_custom_command(
  OUTPUT ${DATA_STAGE_DIR}/obj.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${DATA_STAGE_DIR}/obj
  COMMAND ${DATA_RUN} $<TARGET_FILE:meshpack> ${DATA_STAGE_DIR}/obj ${DATA_MESH_FILES}
  COMMAND ${CMAKE_COMMAND} -E touch ${DATA_STAGE_DIR}/obj.stamp
  DEPENDS meshpack ${DATA_MESH_FILES}
  COMMENT "Making the game's meshes"
  VERBATIM)
set(DATA_OBJ_OUTPUTS ${DATA_STAGE_DIR}/obj.stamp)
