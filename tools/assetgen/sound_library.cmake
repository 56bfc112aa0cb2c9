# The sound half of the generator as a library free of Cairo: the synthesiser,
# the effect designs and the music. The generator links it, and so do its tests
# (tests/), which the game's test tree builds.
set(ASSETGEN_DIR ${CMAKE_CURRENT_LIST_DIR})
find_package(PkgConfig REQUIRED)
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)

file(GLOB ASSETGEN_AUDIO_SOURCES CONFIGURE_DEPENDS ${ASSETGEN_DIR}/src/audio/*.cpp)
add_library(assetgen_sound STATIC ${ASSETGEN_AUDIO_SOURCES}
  ${ASSETGEN_DIR}/src/sounds.cpp ${ASSETGEN_DIR}/src/instruments.cpp ${ASSETGEN_DIR}/src/music.cpp)
target_include_directories(assetgen_sound PUBLIC ${ASSETGEN_DIR}/src)
target_compile_options(assetgen_sound PRIVATE -Wall -Wextra)
# The generator reads its scores from the source tree.
target_compile_definitions(assetgen_sound PUBLIC ASSETGEN_MUSIC_DIR="${ASSETGEN_DIR}/music")
target_link_libraries(assetgen_sound PUBLIC PkgConfig::VORBISENC m)
