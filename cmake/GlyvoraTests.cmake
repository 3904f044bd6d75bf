# Test sources are grouped per library. Natively each group becomes its own test executable whose
# cases ctest lists one by one; for Windows every group is linked into the single glyvora-tests.exe,
# which ctest runs once under Wine.
#
#   glyvora_add_tests(NAME commands SOURCES a_test.cpp b_test.cpp LIBS glyvora_commands)
if(WIN32)
    add_executable(glyvora-tests ${CMAKE_CURRENT_LIST_DIR}/../tests/support/windows_main.cpp)
    target_link_libraries(glyvora-tests PRIVATE GTest::gtest GTest::gmock)
    target_include_directories(glyvora-tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests)
    set_target_properties(glyvora-tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    # glyvora.exe's manifest, so that the tests drive the same common controls and DPI awareness.
    target_sources(glyvora-tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests/support/glyvora-tests.rc)
    target_include_directories(glyvora-tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../src)
    set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/../tests/support/glyvora-tests.rc APPEND PROPERTY OBJECT_DEPENDS
                 ${CMAKE_CURRENT_LIST_DIR}/../src/app/glyvora.manifest)
    # The application's scenarios run one process each (tests/app/each_scenario.sh).
    add_test(NAME windows-tests COMMAND glyvora-tests --gtest_brief=0
                                        "--gtest_filter=-Win32/AppSuite.*:PreviewRendering.*:LabelFilePixels.*:LabelFileBitmapPixels.*:ProgramTyping.*")
    set_tests_properties(windows-tests PROPERTIES TIMEOUT 1800)
    # The cases that put texts on the screen, name files, use the clipboard or the settings file, run
    # again under the other code pages a Windows system may have (./test runs the label "codepage"
    # in a Wine session of code page 1252 and of 950): the same texts, names and bytes must come out.
    string(JOIN ":" codepage_cases
        "Profile.*" "ProfilePosix.*" "Settings.*" "Files.*" "FileNames.*" "WholeFiles.*" "SafeSave.*"
        "Shell.*" "ProgramDirectory.*" "UnicodeParentTest.*" "FolderWalk.*"
        "Win32Dialogs.*" "Win32Tray*" "Win32CommandLine.*" "Win32Backend.*" "Win32Typing.*"
        "TreeViewTest.*" "Win32/FormsSuite.*")
    add_test(NAME windows-codepage-cases COMMAND glyvora-tests --gtest_brief=0 "--gtest_filter=${codepage_cases}")
    set_tests_properties(windows-codepage-cases PROPERTIES TIMEOUT 900 LABELS codepage)
endif()

function(glyvora_add_tests)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    if(WIN32)
        target_sources(glyvora-tests PRIVATE ${T_SOURCES})
        target_link_libraries(glyvora-tests PRIVATE ${T_LIBS})
    else()
        set(exe test_${T_NAME})
        add_executable(${exe} ${T_SOURCES})
        target_link_libraries(${exe} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
        target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
        set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
        gtest_discover_tests(${exe} TEST_PREFIX "${T_NAME}." DISCOVERY_TIMEOUT 60
                             PROPERTIES TIMEOUT 300)
    endif()
endfunction()
