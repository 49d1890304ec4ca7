# The shipped help manual: the readable source under help/ turned into
# "QUARVELT.HLP" in the game folder by the game's own record writer. The pages
# on the objects are written from the physics tables, so they follow them.
if(TARGET quarvelt_help)
    add_executable(quarvelt_helpgen ${CMAKE_CURRENT_LIST_DIR}/helpgen.cpp)
    target_link_libraries(quarvelt_helpgen PRIVATE quarvelt_help quarvelt_assetmodel)
    quarvelt_core_target(quarvelt_helpgen)

    set(QUARVELT_HELP_SOURCE ${CMAKE_CURRENT_LIST_DIR}/help/manual.txt)
    set(QUARVELT_HELP_TABLES ${CMAKE_CURRENT_LIST_DIR}/objects.txt ${CMAKE_CURRENT_LIST_DIR}/rules.txt)
    add_custom_command(
        OUTPUT ${QUARVELT_GAME_DIR}/QUARVELT.HLP
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                $<TARGET_FILE:quarvelt_helpgen> ${QUARVELT_HELP_SOURCE} ${QUARVELT_GAME_DIR}
                ${QUARVELT_HELP_TABLES}
        DEPENDS quarvelt_helpgen ${QUARVELT_HELP_SOURCE} ${QUARVELT_HELP_TABLES}
        COMMENT "Writing the help manual"
        VERBATIM)
    add_custom_target(quarvelt_help_data ALL DEPENDS ${QUARVELT_GAME_DIR}/QUARVELT.HLP)
endif()
