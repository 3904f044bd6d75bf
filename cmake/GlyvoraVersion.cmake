# The program's version is the project's (project(... VERSION ...) in the top-level CMakeLists.txt):
# the version resources of glyvora.exe and glyvora-tool.exe and the release's name take it from
# here. The resources want four numbers; the parts the project leaves out are 0.
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        set(GLYVORA_VERSION_${part} 0)
    else()
        set(GLYVORA_VERSION_${part} ${PROJECT_VERSION_${part}})
    endif()
endforeach()
set(GLYVORA_VERSION ${PROJECT_VERSION})
set(GLYVORA_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/glyvora_version.h.in ${GLYVORA_GENERATED_DIR}/glyvora_version.h @ONLY)

# Gives an executable the version resource and the manifest: `rc` names its resource script, which
# includes app/version_info.rc.
function(glyvora_add_resources target rc)
    target_sources(${target} PRIVATE ${rc})
    target_include_directories(${target} PRIVATE ${GLYVORA_GENERATED_DIR} ${PROJECT_SOURCE_DIR}/src)
    # The resource compiler reports the files a script includes, not the files it embeds.
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/src/app/glyvora.manifest
                                                      ${PROJECT_SOURCE_DIR}/src/app/version_info.rc)
endfunction()
