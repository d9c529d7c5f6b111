# Files, special folders, text codecs and the BMP decoder.
target_sources(quil_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/file_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/special_folders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/temp_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_codec.cpp
)
