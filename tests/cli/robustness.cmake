# test_cli_robustness: quil as a hostile, careful user runs it: output
# targets of every kind, interruptions, and inputs or sizes beyond memory.
add_executable(test_cli_robustness
  ${CMAKE_CURRENT_LIST_DIR}/memory_limits_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/output_targets_test.cpp
)
target_link_libraries(test_cli_robustness PRIVATE quil_testkit ZLIB::ZLIB GTest::gtest_main)
add_dependencies(test_cli_robustness quil)
gtest_discover_tests(test_cli_robustness)
