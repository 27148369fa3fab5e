# One Wine prefix per test run: a fixture makes it before the first Wine test and removes it after
# the last, and each test works in a copy of its own (tests/e2e/lib.sh, e2e_start_wine), so that
# wineboot's seconds are spent once rather than in every test.
# Where the run's prefix lives (the function below names the same place).
set(wine_prefix_template ${CMAKE_BINARY_DIR}/wine-prefix)

add_test(NAME wine_prefix.make
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_prefix.sh make ${wine_prefix_template})
add_test(NAME wine_prefix.remove
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_prefix.sh remove ${wine_prefix_template})
set_tests_properties(wine_prefix.make PROPERTIES
                     FIXTURES_SETUP wine_prefix LABELS fixture TIMEOUT 240)
set_tests_properties(wine_prefix.remove PROPERTIES
                     FIXTURES_CLEANUP wine_prefix LABELS fixture TIMEOUT 60)

# Tests that run Wine: each copies the shared prefix instead of making one.
function(vurazevedadar_use_wine_prefix)
  set_property(TEST ${ARGN} APPEND PROPERTY FIXTURES_REQUIRED wine_prefix)
  set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT
               "E2E_WINE_PREFIX_TEMPLATE=${CMAKE_BINARY_DIR}/wine-prefix")
endfunction()
