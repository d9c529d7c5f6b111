# test_cli_export: quil export run as a program, with recordings made by our
# own writer.
add_executable(test_cli_export
  ${CMAKE_CURRENT_LIST_DIR}/export_test.cpp
)
target_link_libraries(test_cli_export PRIVATE quil_testkit quil_export quil_model
  PNG::PNG JPEG::JPEG ZLIB::ZLIB GTest::gtest GTest::gtest_main)
add_dependencies(test_cli_export quil)
gtest_discover_tests(test_cli_export)
