# The libraries of the formats read through others' decoders: libheif (HEIF and AVIF),
# libwebp (with its demuxer and muxer, for animations and metadata) and libtiff. On
# Linux they are Debian's packages, found through pkg-config; for Windows the builds
# that scripts/build-mingw-deps.sh leaves in the cache (CMAKE_FIND_ROOT_PATH of the
# toolchain file): libtiff, libwebp and the codecs inside libtiff as static libraries,
# libheif as a DLL that loads libde265's DLL.
#
# Defines the interface target pictorva_format_libraries, and the function
# pictorva_copy_runtime_dlls(target), which puts the DLLs a Windows program needs
# beside it once it is built.
add_library(pictorva_format_libraries INTERFACE)

if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PICTORVA_HEIF REQUIRED IMPORTED_TARGET libheif)
  pkg_check_modules(PICTORVA_WEBP REQUIRED IMPORTED_TARGET libwebp libwebpdemux libwebpmux)
  pkg_check_modules(PICTORVA_TIFF REQUIRED IMPORTED_TARGET libtiff-4)
  target_link_libraries(pictorva_format_libraries INTERFACE
    PkgConfig::PICTORVA_HEIF PkgConfig::PICTORVA_WEBP PkgConfig::PICTORVA_TIFF)
  function(pictorva_copy_runtime_dlls target)
  endfunction()
  return()
endif()

# Windows from here on.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)

# pictorva::NAME, the static library libNAME.a, whose header FILE is found, and which
# needs the targets after DEPENDS.
function(pictorva_static_library name header)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DEPENDS")
  find_path(PICTORVA_${name}_INCLUDE_DIR ${header} REQUIRED)
  find_library(PICTORVA_${name}_LIBRARY NAMES lib${name}.a REQUIRED)
  add_library(pictorva::${name} STATIC IMPORTED)
  set_target_properties(pictorva::${name} PROPERTIES
    IMPORTED_LOCATION "${PICTORVA_${name}_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${PICTORVA_${name}_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${arg_DEPENDS}")
endfunction()

pictorva_static_library(webp webp/decode.h)
pictorva_static_library(webpdemux webp/demux.h DEPENDS pictorva::webp)
pictorva_static_library(webpmux webp/mux.h DEPENDS pictorva::webp)
pictorva_static_library(zstd zstd.h)
pictorva_static_library(lzma lzma.h)
pictorva_static_library(tiff tiffio.h
  DEPENDS pictorva::webp pictorva::zstd pictorva::lzma JPEG::JPEG ZLIB::ZLIB)

# libheif.dll: its import library here, the DLL in the cache's bin folder beside
# libde265.dll, which it loads.
find_path(PICTORVA_heif_INCLUDE_DIR libheif/heif.h REQUIRED)
find_library(PICTORVA_heif_IMPLIB NAMES libheif.dll.a REQUIRED)
get_filename_component(dll_folder "${PICTORVA_heif_IMPLIB}" DIRECTORY)
get_filename_component(dll_folder "${dll_folder}/../bin" ABSOLUTE)
set(PICTORVA_RUNTIME_DLLS "${dll_folder}/libheif.dll" "${dll_folder}/libde265.dll"
  CACHE INTERNAL "The DLLs the Windows programs need beside them")
foreach(dll IN LISTS PICTORVA_RUNTIME_DLLS)
  if(NOT EXISTS "${dll}")
    message(FATAL_ERROR "${dll} is missing: run scripts/build-mingw-deps.sh")
  endif()
endforeach()
add_library(pictorva::heif SHARED IMPORTED)
set_target_properties(pictorva::heif PROPERTIES
  IMPORTED_IMPLIB "${PICTORVA_heif_IMPLIB}"
  IMPORTED_LOCATION "${dll_folder}/libheif.dll"
  INTERFACE_INCLUDE_DIRECTORIES "${PICTORVA_heif_INCLUDE_DIR}")

target_link_libraries(pictorva_format_libraries INTERFACE
  pictorva::heif pictorva::webpdemux pictorva::webpmux pictorva::tiff)

# Wine, like Windows, looks for a program's DLLs in its own folder first.
function(pictorva_copy_runtime_dlls target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PICTORVA_RUNTIME_DLLS}
            $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
