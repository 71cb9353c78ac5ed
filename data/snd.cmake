# Sounds ("gravrun2.snd"), included by data/CMakeLists.txt.
#
#   sounds/effects.txt   every sound effect, one line each, synthesised by
#                        tools/soundgen into 16-bit PCM WAVE files
#   sounds/menu.txt, sounds/music0.txt .. music2.txt
#                        the four tunes, rendered by soundgen as 44100 Hz
#                        stereo WAVE and encoded by the host's lame as
#                        MPEG-1 layer III, 160 kbit/s constant, plain stereo,
#                        without the encoder's tag frame, as the engine's
#                        decoder wants them
#
# The stage folder is made anew from these sources at every change.

find_program(DATA_LAME lame)
if(NOT DATA_LAME)
  message(FATAL_ERROR "lame is needed to encode the music (scripts/install-deps.sh installs it)")
endif()

set(DATA_SOUND_DIR ${CMAKE_CURRENT_SOURCE_DIR}/sounds)
set(DATA_MUSIC_DIR ${CMAKE_CURRENT_BINARY_DIR}/music)
file(MAKE_DIRECTORY ${DATA_MUSIC_DIR})

set(DATA_MUSIC_FILES)
foreach(tune menu music0 music1 music2)
  add_custom_command(
    OUTPUT ${DATA_MUSIC_DIR}/${tune}.mp3
    COMMAND ${DATA_RUN} $<TARGET_FILE:soundgen> tune ${DATA_SOUND_DIR}/${tune}.txt ${DATA_MUSIC_DIR}/${tune}.wav
    COMMAND ${DATA_LAME} --quiet -t --cbr -b 160 -m s ${DATA_MUSIC_DIR}/${tune}.wav ${DATA_MUSIC_DIR}/${tune}.mp3
    DEPENDS soundgen ${DATA_SOUND_DIR}/${tune}.txt
    COMMENT "Making ${tune}.mp3"
    VERBATIM)
  list(APPEND DATA_MUSIC_FILES ${DATA_MUSIC_DIR}/${tune}.mp3)
endforeach()

add_custom_command(
  OUTPUT ${DATA_STAGE_DIR}/snd.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${DATA_STAGE_DIR}/snd
  COMMAND ${DATA_RUN} $<TARGET_FILE:soundgen> effects ${DATA_SOUND_DIR}/effects.txt ${DATA_STAGE_DIR}/snd
  COMMAND ${CMAKE_COMMAND} -E copy ${DATA_MUSIC_FILES} ${DATA_STAGE_DIR}/snd/
  COMMAND ${CMAKE_COMMAND} -E touch ${DATA_STAGE_DIR}/snd.stamp
  DEPENDS soundgen ${DATA_SOUND_DIR}/effects.txt ${DATA_MUSIC_FILES}
  COMMENT "Making the game's sounds"
  VERBATIM)
set(DATA_SND_OUTPUTS ${DATA_STAGE_DIR}/snd.stamp)
