# The libraries of the formats read through others' decoders: libheif (HEIF and AVIF),
# libwebp (with its demuxer and muxer, for animations and metadata) and libtiff. They
# are found through pkg-config: on Linux Debian's packages; for Windows the builds
# that scripts/build-mingw-deps.sh leaves in the cache.
#
# Defines the interface target pictorva_format_libraries.
find_package(PkgConfig REQUIRED)
add_library(pictorva_format_libraries INTERFACE)
if(NOT WIN32)
  pkg_check_modules(PICTORVA_HEIF REQUIRED IMPORTED_TARGET libheif)
  pkg_check_modules(PICTORVA_WEBP REQUIRED IMPORTED_TARGET libwebp libwebpdemux libwebpmux)
  pkg_check_modules(PICTORVA_TIFF REQUIRED IMPORTED_TARGET libtiff-4)
  target_link_libraries(pictorva_format_libraries INTERFACE
    PkgConfig::PICTORVA_HEIF PkgConfig::PICTORVA_WEBP PkgConfig::PICTORVA_TIFF)
endif()
