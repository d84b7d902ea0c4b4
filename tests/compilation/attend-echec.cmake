# A build that must fail, and fail on one check only: compiles SOURCE as it stands (it must
# compile, so that nothing else in it is wrong), then with -D${MACRO}, where every error the
# compiler reports must be the static_assert whose text is MESSAGE.
#   cmake -DCOMPILATEUR=... -DINCLUSIONS=dir;dir -DSOURCE=... -DMACRO=... -DMESSAGE=... -P attend-echec.cmake
list(TRANSFORM INCLUSIONS PREPEND -I OUTPUT_VARIABLE options)
set(commande ${COMPILATEUR} -std=c++20 -fsyntax-only ${options} ${SOURCE})

execute_process(COMMAND ${commande} RESULT_VARIABLE code ERROR_VARIABLE sortie OUTPUT_VARIABLE sortie)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${SOURCE} ne compile pas tel quel :\n${sortie}")
endif()

execute_process(COMMAND ${commande} -D${MACRO} RESULT_VARIABLE code ERROR_VARIABLE sortie OUTPUT_VARIABLE sortie)
if(code EQUAL 0)
  message(FATAL_ERROR "avec ${MACRO}, ${SOURCE} compile : la vérification manque")
endif()
string(REGEX MATCHALL "error:[^\n]*" erreurs "${sortie}")
list(LENGTH erreurs nombre)
set(autres ${erreurs})
list(FILTER autres EXCLUDE REGEX "static assertion failed: ${MESSAGE}")
if(nombre EQUAL 0 OR autres)
  message(FATAL_ERROR "avec ${MACRO}, ${SOURCE} échoue pour une autre raison que « ${MESSAGE} » :\n${sortie}")
endif()
message(STATUS "avec ${MACRO} : ${nombre} erreur(s), toutes « ${MESSAGE} »")
