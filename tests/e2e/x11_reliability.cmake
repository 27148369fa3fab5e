# Abuse of the native window: hostile sizes, storms, close requests, a vanishing X server.
# Each script runs the real program on a private Xvfb of its own, so they may run in parallel.
set(x11_reliability_checks
    # asked sizes from 1x1 to 65535x65535 and minimising: no exit, no word, the right picture;
    # sizes claimed by synthetic ConfigureNotify events change nothing
    hostile_sizes x11.survives_hostile_sizes_quietly_and_recovers_its_picture
    # 1,000 resizes and 10,000 exposures: no exit, no word, the right picture afterwards;
    # 100,000 pings while stopped: no lasting memory, the next ping answered
    storms x11.survives_event_storms_and_settles_to_the_right_picture
    # between ticks, amid a resize storm, twice at once, minimised: status 0 within 5 s, no word
    close_requests x11.close_requests_at_awkward_moments_end_with_status_0
    # kill -9 of the server: ends within 1 s, one line on stderr, a status rather than a signal;
    # a server that never answers, the window destroyed by another client, Xlib out of memory:
    # status 1 and one line saying so; a stopped server is waited for; 0-2 closed at start
    server_loss x11.losing_the_server_ends_promptly_with_one_line)

while(x11_reliability_checks)
  list(POP_FRONT x11_reliability_checks script name)
  add_test(NAME ${name}
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/x11_${script}.sh
                   $<TARGET_FILE:vurazevedadar> $<TARGET_FILE:xtool>)
  set_tests_properties(${name} PROPERTIES LABELS e2e-x11 TIMEOUT 120)
endwhile()

# These hold the program to real-time bounds (an exit within 1 s or 5 s, storms within 10 s, a
# tick within 10 ms of a continue), which another test busy on the same cores can break: they run
# alone.
set_tests_properties(x11.losing_the_server_ends_promptly_with_one_line
                     x11.survives_event_storms_and_settles_to_the_right_picture
                     x11.close_requests_at_awkward_moments_end_with_status_0
                     PROPERTIES RUN_SERIAL ON)

# Stopped and continued eight times: the first tick comes at once each time, not when the wait
# interrupted by the stop would have run out.
add_test(NAME x11.ticks_at_once_after_the_process_is_continued
         COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/x11_tick_after_stall.py
                 $<TARGET_FILE:ticklog>)
set_tests_properties(x11.ticks_at_once_after_the_process_is_continued
                     PROPERTIES LABELS e2e-x11 TIMEOUT 60 RUN_SERIAL ON)
