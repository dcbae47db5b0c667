# cmake -D SOURCE_DIR=<src> -D OUTPUT_DIR=<dir> -P mingwcompile.cmake
find_program(MINGW_CXX x86_64-w64-mingw32-g++)
if(NOT MINGW_CXX)
    message("SKIPPED: x86_64-w64-mingw32-g++ is not installed (scripts/deps.sh --tests installs "
            "g++-mingw-w64-x86-64)")
    return()
endif()
file(MAKE_DIRECTORY ${OUTPUT_DIR})
foreach(source input/windowskeyboard.cpp input/keyboardplatform.cpp input/module1.cpp)
    get_filename_component(name ${source} NAME_WE)
    execute_process(
        COMMAND ${MINGW_CXX} -std=c++20 -Wall -Wextra -Wpedantic -Werror -I${SOURCE_DIR}
                -c ${SOURCE_DIR}/${source} -o ${OUTPUT_DIR}/${name}.obj
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${source} does not compile for Windows")
    endif()
endforeach()
message("${MINGW_CXX}: windowskeyboard, keyboardplatform and module1 compile")
