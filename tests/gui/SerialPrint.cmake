# The test of a system without printers runs alone and sees no CUPS server: Wine reads the
# printers once for every process that runs beside the first. (gui_tests_TESTS is the list
# the test discovery leaves behind.)
foreach(t ${gui_tests_TESTS})
    if(t MATCHES "^PrintNoPrinter\\.")
        set_tests_properties(${t} PROPERTIES RUN_SERIAL TRUE
            ENVIRONMENT "CUPS_SERVER=/nonexistent/cups.sock;SLUMRA_EXPECT_NO_PRINTER=1")
    endif()
endforeach()
