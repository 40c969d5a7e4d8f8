# -DKELVA_SANITIZE=ON builds everything with AddressSanitizer (leak detection included) and
# UndefinedBehaviorSanitizer. Any report ends the process with a failure: no error is recovered from.
# scripts/test-asan (run by .ci/run) builds this way into build-asan and runs the tests.
option(KELVA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(KELVA_SANITIZE)
  set(kelva_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${kelva_sanitize_flags})
  add_link_options(${kelva_sanitize_flags})
endif()
