# The Windows build's resources (icon, version information, manifest), compiled by the mingw
# toolchain's windres into the executable.
enable_language(RC)

# Windows versions have four numbers; the project gives two or three.
set(version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
    ${PROJECT_VERSION_TWEAK})
set(version_numbers)
foreach(part IN LISTS version_parts)
  if(part STREQUAL "")
    set(part 0)
  endif()
  list(APPEND version_numbers ${part})
endforeach()
list(JOIN version_numbers ", " VURAZEVEDADAR_VERSION_COMMAS)
list(JOIN version_numbers "." VURAZEVEDADAR_VERSION_QUAD)

# The copyright line Properties shows names the holder the Debian package's copyright file names.
file(STRINGS ${PROJECT_SOURCE_DIR}/data/debian/copyright copyright_lines REGEX "^Copyright: ")
list(GET copyright_lines 0 copyright_line)
string(REGEX REPLACE "^Copyright: " "Copyright (C) " VURAZEVEDADAR_COPYRIGHT "${copyright_line}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/data/debian/copyright)

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
