# The window-free units: plain functions and classes over standard types that
# compile without <windows.h>. The program builds them with the rest of its
# layer; native/ builds them with the host's compiler, under sanitizers, with
# the tests in tests/portable/ and the fuzz targets in fuzz/.
set(LUMVEX_PORTABLE_SOURCES
    # framework, common, controls, canvas, app
    ${CMAKE_SOURCE_DIR}/app/cmd_line_parser.cpp
    ${CMAKE_SOURCE_DIR}/app/cmd_line_parser.h
    ${CMAKE_SOURCE_DIR}/common/text_case.h
    # upload, mail
    ${CMAKE_SOURCE_DIR}/upload/multipart_form.cpp
    ${CMAKE_SOURCE_DIR}/upload/multipart_form.h
    ${CMAKE_SOURCE_DIR}/upload/upload_address.cpp
    ${CMAKE_SOURCE_DIR}/upload/upload_address.h
)
