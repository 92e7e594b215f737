# The cine engine and its test alone, under ThreadSanitizer. Qt and DCMTK are not instrumented,
# so this build holds nothing but the plain engine (Qt Test only drives it from one thread).
find_package(Qt6 REQUIRED COMPONENTS Core Test)
add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
add_link_options(-fsanitize=thread)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_executable(tst_CineEngine ${CMAKE_SOURCE_DIR}/tests/viewer/tst_CineEngine.cpp
               ${CMAKE_SOURCE_DIR}/viewer/CineEngine.h ${CMAKE_SOURCE_DIR}/viewer/CineEngine.cpp)
target_include_directories(tst_CineEngine PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(tst_CineEngine PRIVATE -Wall -Wextra)
target_link_libraries(tst_CineEngine PRIVATE Qt6::Core Qt6::Test)
enable_testing()
add_test(NAME viewer/tst_CineEngine COMMAND tst_CineEngine)
set_tests_properties(viewer/tst_CineEngine PROPERTIES
  LABELS viewer TIMEOUT 120
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1")
