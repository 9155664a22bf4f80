# Holds the README's block of the requirements' syntax to docs/sintaxe_requisitos.txt, the
# text that kelm-lote's help, and so its manual page, are made from.
#   cmake -DREADME=README.md -DSINTAXE=docs/sintaxe_requisitos.txt -P confere_documentacao.cmake
file(READ "${README}" readme)
file(READ "${SINTAXE}" sintaxe)
string(FIND "${readme}" "```text\n${sintaxe}```\n" onde)
if(onde EQUAL -1)
  message(FATAL_ERROR "O README não traz, num bloco ```text, a sintaxe dos requisitos de ${SINTAXE} tal como ela é.")
endif()
