# The Windows build's resources (icon, version information, manifest), compiled by the mingw
# toolchain's windres into the executable.
enable_language(RC)

# The version numbers and copyright line: cmake/windows_version.cmake.
set(resources_dir ${CMAKE_CURRENT_BINARY_DIR}/windows)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vurazevedadar_version.h.in
               ${resources_dir}/vurazevedadar_version.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vurazevedadar.exe.manifest.in
               ${resources_dir}/vurazevedadar.exe.manifest @ONLY)

target_sources(vurazevedadar PRIVATE ${CMAKE_CURRENT_LIST_DIR}/vurazevedadar.rc)
# windres looks for the files that the script names in its include directories.
target_include_directories(vurazevedadar PRIVATE ${resources_dir}
                           ${PROJECT_SOURCE_DIR}/data/icons)
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/vurazevedadar.rc APPEND PROPERTY OBJECT_DEPENDS
             ${PROJECT_SOURCE_DIR}/data/icons/vurazevedadar.ico
             ${resources_dir}/vurazevedadar.exe.manifest)
