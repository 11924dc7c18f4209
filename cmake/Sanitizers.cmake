# FLUX_SANITIZE: the run-time checks that every target of the build is compiled with.
#   address  AddressSanitizer with LeakSanitizer and UndefinedBehaviorSanitizer, stopping at
#            the first report
#   thread   ThreadSanitizer
#   fuzzer   libFuzzer's instrumentation with address and undefined (clang); the fuzz targets
#            link the fuzzer's own main
set(FLUX_SANITIZE "" CACHE STRING "Sanitizers for the whole build: address, thread, fuzzer or empty")
set_property(CACHE FLUX_SANITIZE PROPERTY STRINGS "" address thread fuzzer)

if(FLUX_SANITIZE STREQUAL "address")
  set(flux_sanitize_compile -fsanitize=address,undefined -fno-sanitize-recover=all)
  set(flux_sanitize_link -fsanitize=address,undefined)
elseif(FLUX_SANITIZE STREQUAL "thread")
  set(flux_sanitize_compile -fsanitize=thread)
  set(flux_sanitize_link -fsanitize=thread)
elseif(FLUX_SANITIZE STREQUAL "fuzzer")
  set(flux_sanitize_compile -fsanitize=fuzzer-no-link,address,undefined)
  set(flux_sanitize_link -fsanitize=address,undefined)
elseif(NOT FLUX_SANITIZE STREQUAL "")
  message(FATAL_ERROR "FLUX_SANITIZE must be address, thread, fuzzer or empty, not ${FLUX_SANITIZE}")
endif()

if(FLUX_SANITIZE)
  add_compile_options(${flux_sanitize_compile} -fno-omit-frame-pointer)
  add_link_options(${flux_sanitize_link})
  # For the few places that must know, whatever the compiler calls its own macros.
  add_compile_definitions(FLUX_SANITIZED)
endif()
