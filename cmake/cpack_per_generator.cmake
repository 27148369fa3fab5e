# Read by CPack once for each generator it runs (CPACK_PROJECT_CONFIG_FILE): the Windows
# installer is named as installers are, beside the zip of the same build.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
