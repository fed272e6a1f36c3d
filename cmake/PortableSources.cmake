# The window-free units: plain functions and classes over standard types that
# compile without <windows.h>. The program builds them with the rest of its
# layer; native/ builds them with the host's compiler, under sanitizers, with
# the tests in tests/portable/ and the fuzz targets in tests/fuzz/.
set(LUMVEX_PORTABLE_SOURCES
    # framework, common, controls, canvas, app
    ${CMAKE_SOURCE_DIR}/app/cmd_line_parser.cpp
    ${CMAKE_SOURCE_DIR}/app/cmd_line_parser.h
    ${CMAKE_SOURCE_DIR}/common/text_case.h
    ${CMAKE_SOURCE_DIR}/common/rect.h
    ${CMAKE_SOURCE_DIR}/common/utf8.cpp
    ${CMAKE_SOURCE_DIR}/common/utf8.h
    ${CMAKE_SOURCE_DIR}/framework/archive.cpp
    ${CMAKE_SOURCE_DIR}/framework/archive.h
    ${CMAKE_SOURCE_DIR}/controls/history_list.cpp
    ${CMAKE_SOURCE_DIR}/controls/history_list.h
    ${CMAKE_SOURCE_DIR}/canvas/pixel_blend.cpp
    ${CMAKE_SOURCE_DIR}/canvas/pixel_blend.h
    ${CMAKE_SOURCE_DIR}/app/main_layout.cpp
    ${CMAKE_SOURCE_DIR}/app/main_layout.h
    ${CMAKE_SOURCE_DIR}/common/picture_dpi.h
    ${CMAKE_SOURCE_DIR}/framework/dpi_scale.h
    # upload, mail
    ${CMAKE_SOURCE_DIR}/framework/key_value_store.h
    ${CMAKE_SOURCE_DIR}/upload/app_settings.cpp
    ${CMAKE_SOURCE_DIR}/upload/app_settings.h
    ${CMAKE_SOURCE_DIR}/upload/server_save_plan.cpp
    ${CMAKE_SOURCE_DIR}/upload/server_save_plan.h
    ${CMAKE_SOURCE_DIR}/mail/email_page.cpp
    ${CMAKE_SOURCE_DIR}/mail/email_page.h
    ${CMAKE_SOURCE_DIR}/upload/multipart_form.cpp
    ${CMAKE_SOURCE_DIR}/upload/multipart_form.h
    ${CMAKE_SOURCE_DIR}/upload/upload_address.cpp
    ${CMAKE_SOURCE_DIR}/upload/upload_address.h
)
