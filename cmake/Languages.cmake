# Language files are Qt Linguist sources (.ts, id-based: the text ids are the keys), compiled by
# lrelease at build time. The program loads the .qm files from its data folder's "Language".
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

# q407_add_languages(<target> OUTPUT <folder> TS_FILES <files...>)
# Compiles the .ts files into <folder> whenever the target <target> (built by default) is built;
# the .qm files are listed in <target>_QM_FILES.
function(q407_add_languages target)
    cmake_parse_arguments(ARG "" "OUTPUT" "TS_FILES" ${ARGN})
    add_custom_target(${target} ALL)
    set_source_files_properties(${ARG_TS_FILES} PROPERTIES OUTPUT_LOCATION ${ARG_OUTPUT})
    qt_add_lrelease(${target} TS_FILES ${ARG_TS_FILES} OPTIONS -idbased -silent
                    QM_FILES_OUTPUT_VARIABLE qm_files)
    set(${target}_QM_FILES ${qm_files} PARENT_SCOPE)
endfunction()

# The program's languages: every .ts file of skin/Language ("Language.config" says which of them
# the settings window offers).
file(GLOB Q407_LANGUAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skin/Language/*.ts)
q407_add_languages(q407_languages OUTPUT ${Q407_BUILD_DATA_DIR}/Language
                   TS_FILES ${Q407_LANGUAGE_SOURCES})
install(FILES ${q407_languages_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/q407/Language)
