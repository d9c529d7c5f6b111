# test_platform_drawing: the canvas shapes, lines and picture copies.
add_executable(test_platform_drawing
  ${CMAKE_CURRENT_LIST_DIR}/canvas_shapes_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas_lines_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas_blit_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convex_quad_spans_test.cpp
)
target_link_libraries(test_platform_drawing PRIVATE quil_platform GTest::gtest GTest::gtest_main)
gtest_discover_tests(test_platform_drawing)
