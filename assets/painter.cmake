# The picture painter and its contact-sheet preview.
add_library(quarvelt_painter STATIC
    ${CMAKE_CURRENT_LIST_DIR}/painter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/painter_objects.cpp
    ${CMAKE_CURRENT_LIST_DIR}/painter_palette.cpp
    ${CMAKE_CURRENT_LIST_DIR}/painter_walls.cpp)
target_link_libraries(quarvelt_painter PUBLIC Qt6::Gui PRIVATE quarvelt_common)
target_include_directories(quarvelt_painter PUBLIC ${CMAKE_CURRENT_LIST_DIR})

add_executable(quarvelt_preview ${CMAKE_CURRENT_LIST_DIR}/preview.cpp)
target_link_libraries(quarvelt_preview PRIVATE quarvelt_painter)
