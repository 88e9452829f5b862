# The release's version, taken from project(): the only place it is written. The About window,
# monitorfhi --version, the executables' version resources and the installer all read it from
# here, through the generated header monitorversion.h (target monitor_version) or the
# resources that monitor_add_windows_resources() adds.
configure_file(${CMAKE_CURRENT_LIST_DIR}/monitorversion.h.in
    ${CMAKE_BINARY_DIR}/generated/monitorversion.h @ONLY)
add_library(monitor_version INTERFACE)
target_include_directories(monitor_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# On Windows: the version resource, the icon and the application manifest of an executable.
function(monitor_add_windows_resources target description)
    if(NOT WIN32)
        return()
    endif()
    set(MONITOR_FILE_NAME "$<TARGET_FILE_NAME:${target}>")
    set(MONITOR_INTERNAL_NAME ${target})
    set(MONITOR_DESCRIPTION "${description}")
    set(MONITOR_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging/windows)
    configure_file(${MONITOR_PACKAGING_DIR}/program.rc.in
        ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in @ONLY)
    file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc
        INPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    target_link_libraries(${target} PRIVATE monitor_version)
    if(MSVC)
        # The resource carries the manifest; the linker would add a second one.
        target_link_options(${target} PRIVATE /MANIFEST:NO)
    endif()
    set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY OBJECT_DEPENDS
        ${MONITOR_PACKAGING_DIR}/program.manifest ${MONITOR_PACKAGING_DIR}/MonitorForm.ico)
endfunction()
