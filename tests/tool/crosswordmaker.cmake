# The crossword maker and the make command.
add_executable(crosswordmaker_tests)
target_sources(crosswordmaker_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/crosswordmakertest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/makecommandtest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wordlisttest.cpp
)
target_compile_definitions(crosswordmaker_tests PRIVATE
    WORD_LISTS_DIR="${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(crosswordmaker_tests PRIVATE
    crosswordmaker toolcommands solver editor testsupport GTest::gtest_main)
gtest_discover_tests(crosswordmaker_tests DISCOVERY_TIMEOUT 60)
