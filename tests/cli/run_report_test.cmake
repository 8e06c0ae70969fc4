# The reports of `transvelor export|import` and the command line's conventions: results on
# standard output, errors and warnings on standard error, the exit statuses.
# -DTRANSVELOR=<program> -DSOURCE=<source folder> -DWORK=<scratch folder> -DCASE=<case name>
# [-DEMULATOR=<program and arguments that run it, separated by |>]
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")

include(${CMAKE_CURRENT_LIST_DIR}/transvelor_run.cmake)

# Every file of a folder with its hash, one line each.
function(folder_state folder result)
  file(GLOB_RECURSE files RELATIVE "${folder}" "${folder}/*")
  list(SORT files)
  set(state "")
  foreach(f ${files})
    file(SHA256 "${folder}/${f}" hash)
    string(APPEND state "${f} ${hash}\n")
  endforeach()
  set(${result} "${state}" PARENT_SCOPE)
endfunction()

set(centro "${SOURCE}/examples/centro.xml")
set(export_args --frames 501)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/work" "${WORK}/empty")

# The sample school with a teacher inserted before the namesake José García Martín (GMJ):
# he becomes GMJ1, and GMJ names the newcomer.
file(READ "${centro}" xml)
string(REPLACE "<grupo_datos seq=\"EMPLEADOS\" registros=\"30\">"
  "<grupo_datos seq=\"EMPLEADOS\" registros=\"31\"><grupo_datos><dato>2099999</dato><dato>01/09/2026</dato><dato>Música</dato><dato>Gil</dato><dato>Moreno</dato><dato>Jaime</dato></grupo_datos>"
  inserted "${xml}")
if(inserted STREQUAL xml)
  fail("the sample school has changed: no EMPLEADOS block to insert into")
endif()
file(WRITE "${WORK}/inserted.xml" "${inserted}")

if(CASE STREQUAL "text_report")
  transvelor_run(export "${centro}" ${export_args} --work-folder "${WORK}/work" --report "${WORK}/informe.txt")
  expect_status(0)
  expect_match("^Proceso finalizado\n" "${out}")
  # Warnings on standard error, counts of the rest on standard output.
  expect_match("aviso: 2 cursos que no están en NIVELEX.DBF" "${err}")
  expect_match("\n  4 códigos numerados para no repetirse\n" "${out}")
  file(READ "${WORK}/informe.txt" report)
  file(READ "${WORK}/informe.txt" bom LIMIT 3 HEX)
  if(NOT bom STREQUAL "efbbbf")
    fail("the text report does not begin with a byte order mark")
  endif()
  expect_match("informe de exportación" "${report}")
  expect_match("AVISO      2 cursos que no están en NIVELEX.DBF" "${report}")
  expect_match("EMPLEADOS, n.º 4, clave '2045211' \\(Gómez Muñoz, Juana\\): el código 'GMJ' ya estaba dado: el profesor recibe 'GMJ1'" "${report}")
elseif(CASE STREQUAL "json_report")
  transvelor_run(export "${centro}" ${export_args} --work-folder "${WORK}/work")
  expect_status(0)
  transvelor_run(export "${WORK}/inserted.xml" ${export_args} --work-folder "${WORK}/work" --report "${WORK}/informe.JSON")
  expect_status(0)
  expect_match("aviso: 2 códigos que ahora nombran otra clave" "${err}")
  file(READ "${WORK}/informe.JSON" report)
  string(JSON format GET "${report}" format)
  string(JSON run GET "${report}" run)
  string(JSON first_kind GET "${report}" summary 0 kind)
  string(JSON first_severity GET "${report}" summary 0 severity)
  if(NOT format STREQUAL "transvelor-report" OR NOT run STREQUAL "export" OR
     NOT first_severity STREQUAL "warning")
    fail("unexpected JSON report: ${format} ${run} ${first_kind} ${first_severity}")
  endif()
  # The code GMJ named José García Martín (2045100) and names the newcomer now.
  string(JSON count LENGTH "${report}" entries)
  math(EXPR last "${count} - 1")
  set(found "")
  foreach(i RANGE ${last})
    string(JSON kind GET "${report}" entries ${i} kind)
    string(JSON value GET "${report}" entries ${i} value)
    if(kind STREQUAL "code_changed_meaning" AND value STREQUAL "GMJ")
      string(JSON key GET "${report}" entries ${i} key)
      string(JSON reason GET "${report}" entries ${i} reason)
      set(found "${key}|${reason}")
    endif()
  endforeach()
  expect_match("^2099999\\|.*'2045100'.*'2045100' tiene ahora el código 'GMJ1'" "${found}")
elseif(CASE STREQUAL "dry_run")
  transvelor_run(export "${centro}" ${export_args} --work-folder "${WORK}/work")
  expect_status(0)
  folder_state("${WORK}/work" before)
  transvelor_run(export "${WORK}/inserted.xml" ${export_args} --work-folder "${WORK}/work" --dry-run
      --report "${WORK}/prueba.json")
  expect_status(0)
  expect_match("^Prueba finalizada: la carpeta de trabajo no ha cambiado\n" "${out}")
  expect_match("Tablas que se escribirían en" "${out}")
  folder_state("${WORK}/work" after)
  if(NOT before STREQUAL after)
    fail("the dry run changed the work folder:\n${before}\n---\n${after}")
  endif()
  file(READ "${WORK}/prueba.json" report)
  string(JSON run GET "${report}" run)
  if(NOT run STREQUAL "export-dry-run")
    fail("run ${run}")
  endif()
  expect_match("\"code_changed_meaning\"" "${report}")
elseif(CASE STREQUAL "report_not_written")
  transvelor_run(export "${centro}" ${export_args} --work-folder "${WORK}/work"
      --report "${WORK}/no-such-folder/informe.txt")
  expect_status(5)
  expect_match("No se puede escribir el informe .*no-such-folder.informe.txt" "${err}")
  # The run's result stays.
  expect_match("^Proceso finalizado\n" "${out}")
  if(NOT EXISTS "${WORK}/work/PROFT.DBF")
    fail("the tables were not written")
  endif()
elseif(CASE STREQUAL "failing_commands")
  # Each failing command: its exit status, nothing on standard output, its message on
  # standard error. "status|message|arguments separated by commas".
  set(cases
    "3|No existe archivo|export,${WORK}/nothing.xml,--work-folder,${WORK}/work"
    "4|NIVELEX.DBF No encontrado|export,${centro},--frames,501,--work-folder,${WORK}/work,--program-folder,${WORK}/empty"
    "1|No existe la carpeta de trabajo|export,${centro},--frames,501,--work-folder,${WORK}/missing"
    "4|--frames|export,${centro},--work-folder,${WORK}/work"
    "4|no está en el archivo|export,${centro},--frames,599,--work-folder,${WORK}/work"
    "3|No existe archivo|import,${WORK}/nothing.xml,--work-folder,${WORK}/work"
    "1|SOLUC|import,${centro},--work-folder,${WORK}/empty"
    "1|no-existe.xml|inspect,${WORK}/no-existe.xml"
    "2|--no-such-option|export,${centro},--no-such-option"
    "2|FILE is required|export"
    "2|subcommand|")
  foreach(c ${cases})
    string(REPLACE "|" ";" parts "${c}")
    list(GET parts 0 status)
    list(GET parts 1 message)
    list(GET parts 2 arguments)
    string(REPLACE "," " " shown "${arguments}")
    string(REPLACE "," ";" arguments "${arguments}")
    transvelor_run(${arguments})
    if(NOT rc EQUAL status OR NOT out STREQUAL "" OR NOT err MATCHES "${message}")
      fail("transvelor ${shown}: exit status ${rc} (expected ${status}), expected nothing on standard output and '${message}' on standard error")
    endif()
  endforeach()
elseif(CASE STREQUAL "version_and_help")
  transvelor_run(--version)
  expect_status(0)
  expect_match("^transvelor 1.0\n$" "${out}")
  transvelor_run(export --help)
  expect_status(0)
  expect_match("5 finished but the report could not be written" "${out}")
  expect_match("--report" "${out}")
  expect_match("--dry-run" "${out}")
else()
  fail("unknown case")
endif()
