# The event map and the table of controls, in plain C++ that knows no
# toolkit: both faces build on it.
add_library(form1 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/contrast.cpp ${CMAKE_CURRENT_LIST_DIR}/contrast.h
    ${CMAKE_CURRENT_LIST_DIR}/controlarray.h
    ${CMAKE_CURRENT_LIST_DIR}/form1.cpp ${CMAKE_CURRENT_LIST_DIR}/form1.h
    ${CMAKE_CURRENT_LIST_DIR}/form1controls.cpp ${CMAKE_CURRENT_LIST_DIR}/form1controls.h
    ${CMAKE_CURRENT_LIST_DIR}/form1view.h
    ${CMAKE_CURRENT_LIST_DIR}/seededrandom.cpp ${CMAKE_CURRENT_LIST_DIR}/seededrandom.h
    ${CMAKE_CURRENT_LIST_DIR}/spokentext.cpp ${CMAKE_CURRENT_LIST_DIR}/spokentext.h
    ${CMAKE_CURRENT_LIST_DIR}/utf.cpp ${CMAKE_CURRENT_LIST_DIR}/utf.h
)
set_target_properties(form1 PROPERTIES AUTOMOC OFF AUTOUIC OFF)
target_link_libraries(form1 PUBLIC drill marking PRIVATE project_warnings)
