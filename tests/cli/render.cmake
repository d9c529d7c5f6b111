# test_cli_render: quil render run as a program on recordings made by our own
# writer, its pictures checked against the player driven in the test itself.
add_executable(test_cli_render
  ${CMAKE_CURRENT_LIST_DIR}/render_test.cpp
)
target_link_libraries(test_cli_render PRIVATE quil_testkit quil_player quil_export
  PNG::PNG JPEG::JPEG ZLIB::ZLIB GTest::gtest_main)
add_dependencies(test_cli_render quil)
gtest_discover_tests(test_cli_render)
