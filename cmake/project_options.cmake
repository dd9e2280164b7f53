# Compile settings shared by every target of the project (not by third-party code).
add_library(cube_options INTERFACE)
target_compile_options(cube_options INTERFACE
  -Wall -Wextra -Werror
  # Source files are UTF-8; every byte string of the program is code page 1251.
  -fexec-charset=CP1251)
target_include_directories(cube_options INTERFACE ${PROJECT_SOURCE_DIR})

if(CUBE_SANITIZE)
  target_compile_options(cube_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(cube_options INTERFACE -fsanitize=address,undefined)
endif()

if(NOT WIN32)
  # Narrowing, sign changes and shadowed names are errors in the project's own code; checked on the host
  # compiler only, where the window-free parts build.
  target_compile_options(cube_options INTERFACE -Wshadow -Wconversion -Wsign-conversion)
endif()

if(WIN32)
  # One self-contained .exe: no MinGW runtime DLLs beside it.
  target_link_options(cube_options INTERFACE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(cube_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # Release builds at -O2, after CMake's -O3: the shipped .exe stays well under 1 MiB (-O3's inlining
  # and unrolling add about 50 KB to it), and nothing in a desktop editor gains from the difference.
  target_compile_options(cube_options INTERFACE $<$<CONFIG:Release>:-O2>)
endif()
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Reals are 64-bit on every target: x87 excess precision would make one computation compare unequal
  # to itself once stored, and let overflowing intermediates stay finite.
  target_compile_options(cube_options INTERFACE -msse2 -mfpmath=sse)
  # The runtime-error report lists the callers by walking the frame-pointer chain.
  target_compile_options(cube_options INTERFACE -fno-omit-frame-pointer)
endif()

# cube_test(name SOURCES... LIBS...): one GoogleTest program registered with CTest.
# Cross-built programs run under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(cube_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} cube_gtest_main cube_options)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# cube_on_desktop(test...): tests that take the foreground, move the cursor or read their pixels
# back from the screen. They run one at a time, so another test program's window never takes the
# focus or covers theirs.
function(cube_on_desktop)
  set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK desktop)
endfunction()

# cube_shipped_program(target): a program handed to users. Its release builds carry neither symbols
# nor debug info: the runtime-error report lists raw addresses, and a Debug build keeps both.
function(cube_shipped_program target)
  target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
endfunction()
