# The shipped puzzles: each readable source in puzzles/ becomes the seven puzzle
# files in the game folder, written by the game's own writer with the tool-box
# catalogue of the picture set drawn above.
file(GLOB QUARVELT_PUZZLE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/puzzles/*.txt)
if(NOT TARGET quarvelt_puzzles OR NOT QUARVELT_PUZZLE_SOURCES)
    return()
endif()

add_executable(quarvelt_puzzlegen ${CMAKE_CURRENT_SOURCE_DIR}/puzzlegen.cpp)
target_link_libraries(quarvelt_puzzlegen PRIVATE quarvelt_puzzles)
quarvelt_core_target(quarvelt_puzzlegen)

# The files each source gives, named by its base name.
set(QUARVELT_PUZZLE_FILES)
foreach(source IN LISTS QUARVELT_PUZZLE_SOURCES)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(STRINGS ${source} base_line REGEX "^base[ \t]+[A-Z0-9_]+")
    string(REGEX REPLACE "^base[ \t]+([A-Z0-9_]+).*" "\\1" base "${base_line}")
    if(NOT base)
        message(FATAL_ERROR "${source} names no base")
    endif()
    foreach(extension INF PZL TBX SHC KYC SQC TGC)
        list(APPEND QUARVELT_PUZZLE_FILES ${QUARVELT_GAME_DIR}/${base}.${extension})
    endforeach()
endforeach()

add_custom_command(
    OUTPUT ${QUARVELT_PUZZLE_FILES}
    COMMAND $<TARGET_FILE:quarvelt_puzzlegen> ${CMAKE_CURRENT_SOURCE_DIR}/puzzles ${QUARVELT_GAME_DIR}
    DEPENDS quarvelt_puzzlegen ${QUARVELT_PUZZLE_SOURCES} ${QUARVELT_GAME_DIR}/QUARVELT.IDX
    COMMENT "Writing the shipped puzzles"
    VERBATIM)
add_custom_target(quarvelt_puzzles_data ALL DEPENDS ${QUARVELT_PUZZLE_FILES})

