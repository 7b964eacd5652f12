# brevnote_texttools_logic: the text tools' rules, QtCore only. Included by this folder's
# CMakeLists.txt and by the fuzz build, which has no widgets.
add_library(brevnote_texttools_logic STATIC)
target_sources(brevnote_texttools_logic PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/toolprogress.cpp ${CMAKE_CURRENT_LIST_DIR}/toolprogress.h
    ${CMAKE_CURRENT_LIST_DIR}/caselogic.cpp ${CMAKE_CURRENT_LIST_DIR}/caselogic.h
    ${CMAKE_CURRENT_LIST_DIR}/columncutlogic.cpp ${CMAKE_CURRENT_LIST_DIR}/columncutlogic.h
    ${CMAKE_CURRENT_LIST_DIR}/capitalizelogic.cpp ${CMAKE_CURRENT_LIST_DIR}/capitalizelogic.h
    ${CMAKE_CURRENT_LIST_DIR}/sortlogic.cpp ${CMAKE_CURRENT_LIST_DIR}/sortlogic.h
    ${CMAKE_CURRENT_LIST_DIR}/collationkeys.cpp ${CMAKE_CURRENT_LIST_DIR}/collationkeys.h
    ${CMAKE_CURRENT_LIST_DIR}/valuefrom.cpp ${CMAKE_CURRENT_LIST_DIR}/valuefrom.h
    ${CMAKE_CURRENT_LIST_DIR}/csvlogic.cpp ${CMAKE_CURRENT_LIST_DIR}/csvlogic.h)
# The sort reads ICU's collation keys as bytes (QCollatorSortKey hides them); QtCore collates
# with the same ICU.
find_package(ICU REQUIRED COMPONENTS i18n uc)
target_link_libraries(brevnote_texttools_logic PUBLIC brevnote_util Qt6::Core PRIVATE ICU::i18n ICU::uc)
