# A build step, run as "cmake -DEIN=... -DAUS=... [-DSCDOC=...] -P umwandeln.cmake":
# with SCDOC, turns the scdoc source EIN into the troff man page AUS (without
# hyphenation); without,
# compresses EIN into AUS the way Debian wants it (gzip -9n: neither name nor
# time stamp, so that the same input gives the same bytes).
if(DEFINED SCDOC)
    execute_process(COMMAND ${SCDOC} INPUT_FILE ${EIN} OUTPUT_VARIABLE troff RESULT_VARIABLE ergebnis)
    # The pages are German: groff's English hyphenation would split words
    # wrongly ("re-icht"), so they are not hyphenated at all.
    string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.nh\n" troff "${troff}")
    file(WRITE ${AUS} "${troff}")
else()
    find_program(GZIP gzip)
    if(NOT GZIP)
        message(FATAL_ERROR "gzip not found")
    endif()
    execute_process(COMMAND ${GZIP} -9 -n -c ${EIN} OUTPUT_FILE ${AUS} RESULT_VARIABLE ergebnis)
endif()
if(NOT ergebnis EQUAL 0)
    file(REMOVE ${AUS})
    message(FATAL_ERROR "Making ${AUS} from ${EIN} failed: ${ergebnis}")
endif()
