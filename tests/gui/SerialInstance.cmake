# Run after the discovered tests are known: the program-starting tests run alone.
get_property(all_tests DIRECTORY PROPERTY TESTS)
foreach(t ${all_tests})
    if(t MATCHES "^Instance\\.")
        set_tests_properties(${t} PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)
    endif()
endforeach()
