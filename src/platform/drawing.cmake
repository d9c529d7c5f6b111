# 2-D drawing on pictures: scanline shapes, lines and blits.
target_sources(quil_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/raster_spans.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas_blit.cpp
)
