# test_cli: quil info and quil dump, run as a user would on generated files.
add_executable(test_cli
  ${CMAKE_CURRENT_LIST_DIR}/info_json_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/info_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dump_test.cpp
)
target_link_libraries(test_cli PRIVATE quil_testkit GTest::gtest_main)
add_dependencies(test_cli quil)
gtest_discover_tests(test_cli)
