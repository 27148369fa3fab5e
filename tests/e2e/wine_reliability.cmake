# Abuse of the Windows build under Wine: refused timer, close requests in awkward moments.

# The program exactly as shipped (the geneva objects and the layer), with two test-only objects:
# one makes every SetTimer call fail, the other keeps a ledger of the GDI objects the program
# creates and deletes. Both replace import pointers, so no source of the program or the layer
# changes, and vurazevedadar.exe itself is linked as before. The executable keeps the program's
# file name, in a directory of its own, because the layer titles message boxes with that name.
add_executable(vurazevedadar_notimer ${CMAKE_CURRENT_SOURCE_DIR}/wine/refuse_timer.cpp
                                     ${CMAKE_CURRENT_SOURCE_DIR}/wine/gdi_ledger.cpp)
target_link_libraries(vurazevedadar_notimer PRIVATE geneva afx_entry)
set_target_properties(vurazevedadar_notimer PROPERTIES
  WIN32_EXECUTABLE ON
  OUTPUT_NAME vurazevedadar
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/notimer)

# The box ends with the user's OK, or with WM_CLOSE to the frame whose creation is showing it.
foreach(ending confirmed frame_closed)
  add_test(NAME wine.refused_timer_box_${ending}_shows_no_window_and_ends_with_failure
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_timer_refused.sh ${ending}
                   $<TARGET_FILE:vurazevedadar> $<TARGET_FILE:vurazevedadar_notimer>
                   $<TARGET_FILE:wintool> ${CMAKE_OBJDUMP})
endforeach()

# Close requests that arrive between two ticks, twice over, and in the middle of a storm of
# resizes: each must end the program with status 0.
foreach(moment between_ticks twice during_resize_storm)
  add_test(NAME wine.close_${moment}_ends_with_status_0
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_close_awkward.sh ${moment}
                   $<TARGET_FILE:vurazevedadar> $<TARGET_FILE:wintool>)
endforeach()

add_test(NAME wine.hostile_sizes_leave_program_running_and_animating
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_hostile_sizes.sh
                 $<TARGET_FILE:vurazevedadar> $<TARGET_FILE:wintool>)

set_tests_properties(wine.refused_timer_box_confirmed_shows_no_window_and_ends_with_failure
                     wine.refused_timer_box_frame_closed_shows_no_window_and_ends_with_failure
                     wine.close_between_ticks_ends_with_status_0
                     wine.close_twice_ends_with_status_0
                     wine.close_during_resize_storm_ends_with_status_0
                     wine.hostile_sizes_leave_program_running_and_animating
                     PROPERTIES LABELS e2e-wine TIMEOUT 180)

# Which of posted messages, input, a pending quit, WM_PAINT and WM_TIMER GetMessage returns first.
add_executable(message_order ${CMAKE_CURRENT_SOURCE_DIR}/wine/message_order.cpp)
add_test(NAME wine.get_message_returns_posted_quit_input_paint_timer_in_that_order
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_message_order.sh
                 $<TARGET_FILE:message_order>)
set_tests_properties(wine.get_message_returns_posted_quit_input_paint_timer_in_that_order
                     PROPERTIES LABELS e2e-wine TIMEOUT 120)
