# test_cli_render: quil render run as a program on recordings made by our own
# writer, its pictures checked against the player driven in the test itself.
add_executable(test_cli_render
  ${CMAKE_CURRENT_LIST_DIR}/render_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/info_run_tool.cpp
  ${PROJECT_SOURCE_DIR}/tests/export/picture_decoders.cpp
  ${PROJECT_SOURCE_DIR}/tests/export/test_folder.cpp
)
target_include_directories(test_cli_render PRIVATE ${PROJECT_SOURCE_DIR}/tests/export
  ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(test_cli_render PRIVATE QUIL_BINARY="$<TARGET_FILE:quil>")
target_link_libraries(test_cli_render PRIVATE quil_testsupport quil_player quil_export
  PNG::PNG JPEG::JPEG ZLIB::ZLIB GTest::gtest_main)
add_dependencies(test_cli_render quil)
gtest_discover_tests(test_cli_render)
