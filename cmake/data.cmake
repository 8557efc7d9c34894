# The program's data files beside it in the bin directory: the country table
# countries.crv and one 25x15 flag image flags/XX.png per country. Both are
# generated from Debian's iso-codes and famfamfam-flag-png packages by the
# scripts in res/data, and rebuilt only when a script or an input changes.

set(CORVANE_DATA_DIR "${CMAKE_SOURCE_DIR}/res/data")
set(CORVANE_ISO_JSON "/usr/share/iso-codes/json/iso_3166-1.json"
    CACHE FILEPATH "ISO 3166-1 country list of the iso-codes package")
set(CORVANE_FLAG_SOURCE "/usr/share/flags/countries/16x11"
    CACHE PATH "Small flag images of the famfamfam-flag-png package")

# The system interpreter carries python3-pil; a user-installed one may not.
find_program(CORVANE_DATA_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT CORVANE_DATA_PYTHON)
  find_program(CORVANE_DATA_PYTHON NAMES python3)
endif()
if(NOT CORVANE_DATA_PYTHON)
  message(FATAL_ERROR "data: python3 not found (apt-get install python3 python3-pil)")
endif()
execute_process(COMMAND "${CORVANE_DATA_PYTHON}" -c "import PIL"
                RESULT_VARIABLE _corvane_pil_result OUTPUT_QUIET ERROR_QUIET)
if(NOT _corvane_pil_result EQUAL 0)
  message(FATAL_ERROR "data: ${CORVANE_DATA_PYTHON} lacks PIL (apt-get install python3-pil)")
endif()
if(NOT EXISTS "${CORVANE_ISO_JSON}")
  message(FATAL_ERROR "data: ${CORVANE_ISO_JSON} missing (apt-get install iso-codes)")
endif()
if(NOT IS_DIRECTORY "${CORVANE_FLAG_SOURCE}")
  message(FATAL_ERROR "data: ${CORVANE_FLAG_SOURCE} missing (apt-get install famfamfam-flag-png)")
endif()

# The codes decide the flag files, so they are read at configure time; a
# change of the list or of the script configures again.
execute_process(
  COMMAND "${CORVANE_DATA_PYTHON}" "${CORVANE_DATA_DIR}/make_countries.py" --codes "${CORVANE_ISO_JSON}"
  OUTPUT_VARIABLE CORVANE_COUNTRY_CODES
  RESULT_VARIABLE _corvane_codes_result)
if(NOT _corvane_codes_result EQUAL 0)
  message(FATAL_ERROR "data: could not read the country codes from ${CORVANE_ISO_JSON}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  "${CORVANE_ISO_JSON}" "${CORVANE_DATA_DIR}/make_countries.py")

set(CORVANE_COUNTRIES_FILE "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/countries.crv")
set(CORVANE_FLAGS_DIR "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/flags")

add_custom_command(
  OUTPUT "${CORVANE_COUNTRIES_FILE}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
  COMMAND "${CORVANE_DATA_PYTHON}" "${CORVANE_DATA_DIR}/make_countries.py"
          "${CORVANE_ISO_JSON}" "${CORVANE_COUNTRIES_FILE}"
  DEPENDS "${CORVANE_DATA_DIR}/make_countries.py" "${CORVANE_ISO_JSON}"
  COMMENT "Generating countries.crv"
  VERBATIM)

# The IPv4 address ranges of the country table, beside countries.crv: made
# from the CC0 range list that tools/setup fetches with npm. Without that list
# the program runs with no ranges, so no address has a known country.
set(CORVANE_RANGES_CSV "${CMAKE_SOURCE_DIR}/build/ip-location-db/geo-whois-asn-country-ipv4-num.csv"
    CACHE FILEPATH "Numeric IPv4 range list of @ip-location-db/geo-whois-asn-country")
set(CORVANE_RANGES_FILE "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/countryranges.crv")
set(CORVANE_RANGES_OUTPUT "")
if(EXISTS "${CORVANE_RANGES_CSV}")
  add_custom_command(
    OUTPUT "${CORVANE_RANGES_FILE}"
    COMMAND "${CORVANE_DATA_PYTHON}" "${CORVANE_DATA_DIR}/make_ranges.py"
            "${CORVANE_RANGES_CSV}" "${CORVANE_COUNTRIES_FILE}" "${CORVANE_RANGES_FILE}"
    DEPENDS "${CORVANE_DATA_DIR}/make_ranges.py" "${CORVANE_RANGES_CSV}" "${CORVANE_COUNTRIES_FILE}"
    COMMENT "Generating countryranges.crv"
    VERBATIM)
  set(CORVANE_RANGES_OUTPUT "${CORVANE_RANGES_FILE}")
else()
  message(WARNING "data: ${CORVANE_RANGES_CSV} missing (run tools/setup): no countryranges.crv")
endif()

set(CORVANE_FLAG_FILES "")
set(CORVANE_FLAG_INPUTS "")
foreach(code IN LISTS CORVANE_COUNTRY_CODES)
  list(APPEND CORVANE_FLAG_FILES "${CORVANE_FLAGS_DIR}/${code}.png")
  string(TOLOWER "${code}" lower)
  if(EXISTS "${CORVANE_FLAG_SOURCE}/${lower}.png")
    list(APPEND CORVANE_FLAG_INPUTS "${CORVANE_FLAG_SOURCE}/${lower}.png")
  endif()
endforeach()

add_custom_command(
  OUTPUT ${CORVANE_FLAG_FILES}
  COMMAND "${CORVANE_DATA_PYTHON}" "${CORVANE_DATA_DIR}/make_flags.py"
          "${CORVANE_COUNTRIES_FILE}" "${CORVANE_FLAG_SOURCE}" "${CORVANE_FLAGS_DIR}"
  DEPENDS "${CORVANE_DATA_DIR}/make_flags.py" "${CORVANE_COUNTRIES_FILE}" ${CORVANE_FLAG_INPUTS}
  COMMENT "Generating flags/XX.png"
  VERBATIM)

add_custom_target(corvane_data ALL DEPENDS "${CORVANE_COUNTRIES_FILE}" ${CORVANE_FLAG_FILES}
  ${CORVANE_RANGES_OUTPUT})

# The unit tests check the generated table against the number of countries
# the list holds.
list(LENGTH CORVANE_COUNTRY_CODES CORVANE_COUNTRY_COUNT)
