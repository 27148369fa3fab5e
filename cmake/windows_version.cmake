# What the Windows build states about itself, in the forms Windows wants, for the program's
# version resource (app/windows/resources.cmake) and the installer's (cmake/packaging.cmake).
# Windows versions have four numbers; the project gives two or three. Quoted, so that the parts
# it does not give stay in the list as empty elements, to become zeros.
set(version_parts "${PROJECT_VERSION_MAJOR}" "${PROJECT_VERSION_MINOR}" "${PROJECT_VERSION_PATCH}"
    "${PROJECT_VERSION_TWEAK}")
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
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/data/debian/copyright)

