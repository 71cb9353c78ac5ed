# Sounds ("gravrun2.snd"), included by data/CMakeLists.txt.
#
#   sounds/effects.txt   every sound effect, one line each, synthesised by
#                        tools/soundgen into 16-bit PCM WAVE files
#   sounds/voices.txt    the words of the voices, spoken by the host's
#                        espeak-ng into the speech folder that soundgen
#                        takes the voice sounds from
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

find_program(DATA_ESPEAK espeak-ng)
if(NOT DATA_ESPEAK)
  message(FATAL_ERROR "espeak-ng is needed to speak the voices (scripts/install-deps.sh installs it)")
endif()

set(DATA_SOUND_DIR ${CMAKE_CURRENT_SOURCE_DIR}/sounds)
set(DATA_SPEECH_DIR ${CMAKE_CURRENT_BINARY_DIR}/speech)
file(MAKE_DIRECTORY ${DATA_SPEECH_DIR})

# One recording per voice: "name | voice | words per minute | pitch | words".
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DATA_SOUND_DIR}/voices.txt)
file(STRINGS ${DATA_SOUND_DIR}/voices.txt DATA_VOICE_LINES REGEX "^[^#].*\\|")
set(DATA_SPEECH_FILES)
foreach(line IN LISTS DATA_VOICE_LINES)
  string(REPLACE "|" ";" fields "${line}")
  list(LENGTH fields count)
  if(NOT count EQUAL 5)
    message(FATAL_ERROR "voices.txt: five fields wanted in \"${line}\"")
  endif()
  set(values)
  foreach(field IN LISTS fields)
    string(STRIP "${field}" field)
    list(APPEND values "${field}")
  endforeach()
  list(GET values 0 name)
  list(GET values 1 voice)
  list(GET values 2 speed)
  list(GET values 3 pitch)
  list(GET values 4 words)
  add_custom_command(
    OUTPUT ${DATA_SPEECH_DIR}/${name}
    COMMAND ${DATA_ESPEAK} -v ${voice} -s ${speed} -p ${pitch} -w ${DATA_SPEECH_DIR}/${name} ${words}
    DEPENDS ${DATA_SOUND_DIR}/voices.txt
    COMMENT "Speaking ${name}"
    VERBATIM)
  list(APPEND DATA_SPEECH_FILES ${DATA_SPEECH_DIR}/${name})
endforeach()
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
          ${DATA_SPEECH_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${DATA_MUSIC_FILES} ${DATA_STAGE_DIR}/snd/
  COMMAND ${CMAKE_COMMAND} -E touch ${DATA_STAGE_DIR}/snd.stamp
  DEPENDS soundgen ${DATA_SOUND_DIR}/effects.txt ${DATA_MUSIC_FILES} ${DATA_SPEECH_FILES}
  COMMENT "Making the game's sounds"
  VERBATIM)
set(DATA_SND_OUTPUTS ${DATA_STAGE_DIR}/snd.stamp)
