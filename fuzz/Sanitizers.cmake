# Included before the layers: with QUELBRIN_FUZZERS every library the fuzzers link
# is built for libFuzzer's coverage and with the address and undefined-behaviour
# sanitizers, which stop at the first report.
option(QUELBRIN_FUZZERS "Build the libFuzzer programs under fuzz/ (needs clang)" OFF)
if(QUELBRIN_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUELBRIN_FUZZERS needs clang (CMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
