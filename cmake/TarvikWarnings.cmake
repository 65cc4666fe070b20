# Gives a target the project's warnings; CI (CI=true in the environment) treats them as errors.
function(tarvik_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wformat=2)
  # g++ 12 reports false -Wrestrict overlaps inside std::string concatenation (its bug 105329).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(DEFINED ENV{CI} OR TARVIK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
