# Making a crossword from a list of words: plain logic on Qt Core.
add_library(crosswordmaker STATIC)
target_sources(crosswordmaker PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/crosswordmaker.cpp ${CMAKE_CURRENT_LIST_DIR}/crosswordmaker.h
    ${CMAKE_CURRENT_LIST_DIR}/griddrawing.cpp ${CMAKE_CURRENT_LIST_DIR}/griddrawing.h
    ${CMAKE_CURRENT_LIST_DIR}/wordlist.cpp ${CMAKE_CURRENT_LIST_DIR}/wordlist.h
)
target_include_directories(crosswordmaker PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(crosswordmaker PUBLIC toolcore document Qt6::Core)

# The command unit.
target_sources(toolcommands PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/makecommand.cpp ${CMAKE_CURRENT_LIST_DIR}/makecommand.h
)
target_link_libraries(toolcommands PUBLIC crosswordmaker)
