# Runs store_listorder on tests/store/listorder.tsv and compares what it lists with
# listorder.expected, the lists of the Linux build. The Windows build runs the same comparison
# under Wine, so both builds list the same names in the same order.
#   cmake -DTOOL=<command;...> -DNAMES=<tsv> -DEXPECTED=<file> -DOUTPUT=<file> -P listorder.cmake
# TOOL is the tool's command line (an emulator first in a cross build). When a change of order
# is meant, OUTPUT of the Linux build becomes the new listorder.expected.
file(REMOVE "${OUTPUT}")
execute_process(COMMAND ${TOOL} "${NAMES}" "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS "${OUTPUT}")
    message(FATAL_ERROR "store_listorder failed (${result})")
endif()

file(STRINGS "${EXPECTED}" expected ENCODING UTF-8)
file(STRINGS "${OUTPUT}" listed ENCODING UTF-8)
list(LENGTH expected expected_count)
list(LENGTH listed listed_count)
set(line 0)
while(line LESS expected_count OR line LESS listed_count)
    set(want "(end of file)")
    set(got "(end of file)")
    if(line LESS expected_count)
        list(GET expected ${line} want)
    endif()
    if(line LESS listed_count)
        list(GET listed ${line} got)
    endif()
    if(NOT want STREQUAL got)
        math(EXPR number "${line} + 1")
        message(FATAL_ERROR "line ${number} differs:\n  expected: ${want}\n  listed:   ${got}\n"
                            "(${OUTPUT} against ${EXPECTED})")
    endif()
    math(EXPR line "${line} + 1")
endwhile()
message("${listed_count} lines as expected")
