# One INTERFACE target, q407_config, carries the language standard, the warnings and the strict
# Qt defines. Every library and executable of the project links it, so a flag is set once.

option(Q407_WERROR "Treat compiler warnings as errors" OFF)
set(Q407_SANITIZE "" CACHE STRING "Sanitizers to build with: empty, 'address,undefined' or 'thread'")

add_library(q407_config INTERFACE)
target_compile_features(q407_config INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(q407_config INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-qual
    -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations)
# GCC's maybe-uninitialized analysis reports moves of std::variant holding Qt strings at -O2
# (false positives inside Qt's headers); the sanitizers catch real uses of uninitialised memory.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(q407_config INTERFACE -Wno-maybe-uninitialized)
endif()
if(Q407_WERROR)
    target_compile_options(q407_config INTERFACE -Werror)
endif()

# Strict Qt: no implicit conversions between QString and char data, no narrowing in connect().
target_compile_definitions(q407_config INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_NO_KEYWORDS
    QT_USE_QSTRINGBUILDER
    QT_STRICT_ITERATORS
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
    Q407_VERSION="${PROJECT_VERSION}")

if(Q407_SANITIZE)
    target_compile_options(q407_config INTERFACE -fsanitize=${Q407_SANITIZE} -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=all)
    target_link_options(q407_config INTERFACE -fsanitize=${Q407_SANITIZE})
endif()

# Real fuzzing (clang only): every library is instrumented for coverage, and the fuzz targets in
# tests/fuzz link libFuzzer itself.
option(Q407_LIBFUZZER "Build fuzz targets with libFuzzer (clang only)" OFF)
if(Q407_LIBFUZZER AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(q407_config INTERFACE -fsanitize=fuzzer-no-link)
endif()
