# Writes the manual page of mirolat-cli: help2man over `mirolat-cli --help`,
# with a COMMANDS section holding each command's own --help.
set(commands scan report chart budget config genlog modem import-pppd)
set(include "[COMMANDS]\n")
foreach(c ${commands})
  execute_process(COMMAND ${CLI} help ${c} OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "mirolat-cli help ${c} failed")
  endif()
  # roff: a backslash is written \e; a line starting with a dot or quote is escaped.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" text "${text}")
  string(APPEND include ".SS ${c}\n.nf\n${text}.fi\n")
endforeach()
string(APPEND include "[ENVIRONMENT]\n.TP\n.B MIROLAT_CONFIG_DIR\nthe folder of the settings store settings.sqlite (default ~/.config/mirolat)\n.TP\n.B WinDir\nthe folder of the modem log (default ~/.local/share/mirolat)\n")
string(APPEND include "[SEE ALSO]\n.BR mirolat (1),\n.BR pppd (8),\n.BR chat (8),\n.BR journalctl (1)\n")
file(WRITE ${WORK}/mirolat-cli.h2m "${include}")
execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section 1
                        --name "the dial-up modem log analyser, without a window"
                        --include ${WORK}/mirolat-cli.h2m --output ${OUT} ${CLI}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed")
endif()
