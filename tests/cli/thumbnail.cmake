# test_cli_thumbnail: quil thumbnail run as a program on recordings made by
# our own writer, its pictures checked against quil export.
add_executable(test_cli_thumbnail
  ${CMAKE_CURRENT_LIST_DIR}/thumbnail_test.cpp
)
target_link_libraries(test_cli_thumbnail PRIVATE quil_testkit GTest::gtest_main)
add_dependencies(test_cli_thumbnail quil)
gtest_discover_tests(test_cli_thumbnail)
