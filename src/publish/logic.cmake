# brevnote_publish_logic: the release panel's logic (command line, list form, script and page
# stamping, stored settings), QtCore only. Included by this folder's CMakeLists.txt and by the
# fuzz build, which has no widgets.
add_library(brevnote_publish_logic STATIC)
target_sources(brevnote_publish_logic PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/commatext.cpp ${CMAKE_CURRENT_LIST_DIR}/commatext.h
    ${CMAKE_CURRENT_LIST_DIR}/uploadcommand.cpp ${CMAKE_CURRENT_LIST_DIR}/uploadcommand.h
    ${CMAKE_CURRENT_LIST_DIR}/installerscript.cpp ${CMAKE_CURRENT_LIST_DIR}/installerscript.h
    ${CMAKE_CURRENT_LIST_DIR}/historypage.cpp ${CMAKE_CURRENT_LIST_DIR}/historypage.h
    ${CMAKE_CURRENT_LIST_DIR}/sdksettings.cpp ${CMAKE_CURRENT_LIST_DIR}/sdksettings.h)
target_link_libraries(brevnote_publish_logic PUBLIC brevnote_util)
