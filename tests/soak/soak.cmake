# Long runs of the real program: resource counts, resident memory, leak checking.
# Included from the tests' CMakeLists for the x11 and the win32 backend; each test here starts
# its own X server (and Wine prefix) and takes well under a minute and a half.
if(VURAZEVEDADAR_BACKEND STREQUAL "x11")
  find_package(X11 REQUIRED)
  if(NOT X11_XRes_FOUND)
    message(FATAL_ERROR "The soak tests need the X-Resource library (Debian: libxres-dev)")
  endif()
  add_executable(soak soak/soak.cpp soak/counts_x11.cpp soak/memory_linux.cpp)
  target_link_libraries(soak PRIVATE geneva X11::X11 X11::XRes)
  target_include_directories(soak PRIVATE ${PROJECT_SOURCE_DIR}/platform/x11)

  add_test(NAME soak.x11.resources_steady_over_10000_ticks_and_released_at_close
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/soak/soak_run.sh native
                   $<TARGET_FILE:soak> counts)
  add_test(NAME soak.x11.resident_memory_flat_over_100000_ticks
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/soak/soak_run.sh native
                   $<TARGET_FILE:soak> memory)
  add_test(NAME soak.x11.valgrind_finds_no_leak_or_error_in_a_full_run
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/soak/valgrind_run.sh
                   $<TARGET_FILE:vurazevedadar> $<TARGET_FILE:xtool>)
  set_tests_properties(soak.x11.resources_steady_over_10000_ticks_and_released_at_close
                       soak.x11.resident_memory_flat_over_100000_ticks
                       soak.x11.valgrind_finds_no_leak_or_error_in_a_full_run
                       PROPERTIES LABELS soak TIMEOUT 90)
elseif(VURAZEVEDADAR_BACKEND STREQUAL "win32")
  add_executable(soak soak/soak.cpp soak/counts_win32.cpp soak/memory_win32.cpp)
  target_link_libraries(soak PRIVATE geneva psapi)

  add_test(NAME soak.wine.gdi_objects_and_windows_steady_over_10000_ticks_and_released_at_close
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/soak/soak_run.sh wine
                   $<TARGET_FILE:soak> counts)
  set_tests_properties(soak.wine.gdi_objects_and_windows_steady_over_10000_ticks_and_released_at_close
                       PROPERTIES LABELS soak TIMEOUT 90)
endif()
