# test_platform_decoding: the BMP decoder, special folders, temporary names,
# the text codec and the file reader.
add_executable(test_platform_decoding
  ${CMAKE_CURRENT_LIST_DIR}/bmp_decoder_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/decoding_platform_test.cpp
)
target_link_libraries(test_platform_decoding PRIVATE quil_platform quil_testkit GTest::gtest_main)
gtest_discover_tests(test_platform_decoding)
