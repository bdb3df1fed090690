# cmake -DSOURCE=page.html -DDESTINATION=out/page.html -P towindows1251.cmake
#
# Help viewers read a compiled help file in the code page of its language, so
# the Russian pages, contents and project go in as Windows-1251 and say so.
# The sources stay UTF-8; a character outside Windows-1251 fails the build.
file(READ ${SOURCE} text)
string(REPLACE "charset=utf-8" "charset=windows-1251" text "${text}")
file(WRITE ${DESTINATION}.utf8 "${text}")
execute_process(COMMAND iconv -f UTF-8 -t CP1251 ${DESTINATION}.utf8
                OUTPUT_FILE ${DESTINATION} RESULT_VARIABLE status ERROR_VARIABLE error)
file(REMOVE ${DESTINATION}.utf8)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SOURCE}: not convertible to Windows-1251: ${error}")
endif()
