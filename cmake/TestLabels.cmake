# gtest_discover_tests of CMake 3.25 writes every property value as separate
# words, so a discovered test cannot get a list such as LABELS "unit;threads"
# there. wayloom_label_tests(LIST LABEL...) gives every test of the discovery
# whose TEST_LIST is LIST these labels, once ctest has read the discovered
# tests (call it after that gtest_discover_tests).
function(wayloom_label_tests list)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${list}_labels.cmake")
  file(WRITE "${script}"
       "foreach(t IN LISTS ${list})\n  set_tests_properties(\"\${t}\" PROPERTIES LABELS \"${ARGN}\")\nendforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
