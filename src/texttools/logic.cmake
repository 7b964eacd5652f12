# brevnote_texttools_logic: the text tools' rules, QtCore only. Included by this folder's
# CMakeLists.txt and by the fuzz build, which has no widgets.
add_library(brevnote_texttools_logic STATIC)
target_sources(brevnote_texttools_logic PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/toolprogress.h
    ${CMAKE_CURRENT_LIST_DIR}/linesplitlogic.cpp ${CMAKE_CURRENT_LIST_DIR}/linesplitlogic.h
    ${CMAKE_CURRENT_LIST_DIR}/caselogic.cpp ${CMAKE_CURRENT_LIST_DIR}/caselogic.h
    ${CMAKE_CURRENT_LIST_DIR}/columncutlogic.cpp ${CMAKE_CURRENT_LIST_DIR}/columncutlogic.h
    ${CMAKE_CURRENT_LIST_DIR}/capitalizelogic.cpp ${CMAKE_CURRENT_LIST_DIR}/capitalizelogic.h
    ${CMAKE_CURRENT_LIST_DIR}/sortlogic.cpp ${CMAKE_CURRENT_LIST_DIR}/sortlogic.h
    ${CMAKE_CURRENT_LIST_DIR}/valuefrom.cpp ${CMAKE_CURRENT_LIST_DIR}/valuefrom.h
    ${CMAKE_CURRENT_LIST_DIR}/csvlogic.cpp ${CMAKE_CURRENT_LIST_DIR}/csvlogic.h)
target_link_libraries(brevnote_texttools_logic PUBLIC brevnote_util Qt6::Core)
