# Run by `cmake --install` (and by cpack): installs the manual pages with the folder of the
# bundled championships under this install's prefix, compressed as Debian wants them
# (gzip -9n: no name, no time, the same bytes every time).
#   KELM_PAGINAS         the built pages, with the mark @PASTA_EXEMPLOS@
#   KELM_DATADIR         where data goes, relative to the prefix or absolute
#   KELM_MANDIR          where manual pages go, relative to the prefix or absolute
#   KELM_GZIP            the gzip program
#   KELM_PASTA_TRABALHO  a folder of the build where the pages are made

foreach(variavel KELM_DATADIR KELM_MANDIR)
  if(NOT IS_ABSOLUTE "${${variavel}}")
    set(${variavel} "${CMAKE_INSTALL_PREFIX}/${${variavel}}")
  endif()
endforeach()

file(MAKE_DIRECTORY "${KELM_PASTA_TRABALHO}")
foreach(pagina IN LISTS KELM_PAGINAS)
  get_filename_component(nome "${pagina}" NAME)
  file(READ "${pagina}" texto)
  string(REPLACE "@PASTA_EXEMPLOS@" "${KELM_DATADIR}/kelm/exemplos" texto "${texto}")
  file(WRITE "${KELM_PASTA_TRABALHO}/${nome}" "${texto}")
  execute_process(COMMAND "${KELM_GZIP}" -9nf "${KELM_PASTA_TRABALHO}/${nome}" RESULT_VARIABLE falhou)
  if(falhou)
    message(FATAL_ERROR "gzip não comprimiu ${KELM_PASTA_TRABALHO}/${nome}")
  endif()
  file(INSTALL "${KELM_PASTA_TRABALHO}/${nome}.gz" DESTINATION "${KELM_MANDIR}/man1"
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
