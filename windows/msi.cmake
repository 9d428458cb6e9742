# geometrija-VERSION.msi from the zip's folder, built by msitools' wixl and put
# right where wixl 0.101 falls short, then checked, so that an MSI that would
# install nothing fails the build:
#   cmake -DFASCIKLA=DIR -DIKONA=ICO -DVERZIJA=1.1.0.0 -DMSI=OUT.msi -DWIXL=... \
#         -DMSIBUILD=... -DMSIINFO=... -DOSSLSIGNCODE=... -P windows/msi.cmake
# The tests run it too, for an older version to upgrade from.
cmake_minimum_required(VERSION 3.16)

# Fixed for good: Windows Installer knows every version of geometrija by it.
set(UPGRADE_CODE 6F1B0C52-3E7A-4C1D-9B8E-5A2D7C4E9F10)
# A ProductCode of each version's own, derived from the version (a name-based
# UUID), so that the same sources give the same MSI's codes on every build.
string(REGEX MATCH "^[0-9]+\\.[0-9]+\\.[0-9]+" VERZIJA_PROIZVODA "${VERZIJA}")
string(UUID PRODUCT_CODE NAMESPACE ${UPGRADE_CODE} NAME "geometrija ${VERZIJA_PROIZVODA}"
  TYPE SHA1 UPPER)
set(ODBIJENA_STARIJA "Novija verzija programa geometrija je vec instalirana.")
# The icon's entry in the Uninstall key, a component of this version's own: its
# key is named by this version's ProductCode, so it must go with this version.
string(UUID IKONA_KOD NAMESPACE ${UPGRADE_CODE} NAME "geometrija ${VERZIJA_PROIZVODA} ikona"
  TYPE SHA1 UPPER)

# wixl finds no file by an absolute path (and still reports success): each
# source is named from a folder of the MSI's own.
set(RADNA "${MSI}.d")
file(REMOVE_RECURSE "${RADNA}")
file(COPY "${FASCIKLA}/" "${IKONA}" DESTINATION "${RADNA}")
get_filename_component(IKONA_IME "${IKONA}" NAME)
file(GLOB datoteke RELATIVE "${RADNA}" "${RADNA}/*.exe" "${RADNA}/*.txt")
list(SORT datoteke)

set(komponente "")
set(reference "")
set(lekcije "")
foreach(ime IN LISTS datoteke)
  string(MAKE_C_IDENTIFIER "${ime}" id)
  # Win64 on every component: without it wixl marks it 32-bit and its
  # registry values land in WOW6432Node.
  string(APPEND komponente "          <Component Id=\"k_${id}\" Guid=\"*\" Win64=\"yes\">
            <File Id=\"${id}\" Source=\"${ime}\" KeyPath=\"yes\"/>
          </Component>\n")
  string(APPEND reference "      <ComponentRef Id=\"k_${id}\"/>\n")
  if(NOT ime MATCHES "^(PROCITAJ|LICENSE)\\.txt$" AND ime MATCHES "\\.txt$")
    get_filename_component(lekcija "${ime}" NAME_WE)
    # A shortcut cannot redirect: the console does, given the lesson as input.
    string(APPEND lekcije "            <Shortcut Id=\"p_${id}\" Name=\"Lekcija ${lekcija}\" Target=\"[%ComSpec]\"
              Arguments=\"/k geometrija.exe &lt; ${ime}\" WorkingDirectory=\"INSTALLDIR\" Icon=\"${IKONA_IME}\"/>\n")
  endif()
endforeach()

file(WRITE "${RADNA}/geometrija.wxs" "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Product Id=\"${PRODUCT_CODE}\" Name=\"geometrija\" Language=\"1033\" Version=\"${VERZIJA_PROIZVODA}\"
           Manufacturer=\"geometrija\" UpgradeCode=\"${UPGRADE_CODE}\">
    <Package InstallerVersion=\"500\" Compressed=\"yes\" InstallScope=\"perMachine\"
             Description=\"geometrija ${VERZIJA_PROIZVODA}\"/>
    <MajorUpgrade DowngradeErrorMessage=\"${ODBIJENA_STARIJA}\"/>
    <Media Id=\"1\" Cabinet=\"geometrija.cab\" EmbedCab=\"yes\"/>
    <Icon Id=\"${IKONA_IME}\" SourceFile=\"${IKONA_IME}\"/>
    <Property Id=\"ARPPRODUCTICON\" Value=\"${IKONA_IME}\"/>
    <Property Id=\"ARPNOMODIFY\" Value=\"1\"/>
    <!-- The folder IT chose (INSTALLDIR=... at the first install), kept in the
         registry's 64-bit view and found again before costing by the next
         version's install, by a repair and by the removal: Windows Installer
         keeps no folder of its own from one product code to the next, and Wine's
         does not even for the removal. -->
    <Property Id=\"INSTALLDIR\">
      <RegistrySearch Id=\"ZapamcenoMesto\" Root=\"HKLM\" Key=\"Software\\geometrija\" Name=\"InstallDir\"
        Type=\"raw\" Win64=\"yes\"/>
    </Property>
    <!-- The help link is the installed PROCITAJ.txt, known once costing has
         placed INSTALLDIR. wixl loses a placement by After=: by number it is. -->
    <CustomAction Id=\"PomocUPrograme\" Property=\"ARPHELPLINK\" Value=\"[INSTALLDIR]PROCITAJ.txt\"/>
    <CustomAction Id=\"MestoUPrograme\" Property=\"ARPINSTALLLOCATION\" Value=\"[INSTALLDIR]\"/>
    <!-- The shortcuts in the Start menu of all users. Windows Installer gives
         ProgramMenuFolder that folder itself for a per-machine package; Wine's
         gives the installing user's, whatever ALLUSERS says. Named before
         costing resolves the folders, and the same on Windows. -->
    <CustomAction Id=\"MeniZaSve\" Property=\"ProgramMenuFolder\"
      Value=\"[CommonAppDataFolder]Microsoft\\Windows\\Start Menu\\Programs\\\"/>
    <InstallExecuteSequence>
      <Custom Action=\"MeniZaSve\" Sequence=\"990\"/>
      <Custom Action=\"PomocUPrograme\" Sequence=\"1001\"/>
      <Custom Action=\"MestoUPrograme\" Sequence=\"1002\"/>
    </InstallExecuteSequence>
    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">
      <Directory Id=\"ProgramFiles64Folder\">
        <Directory Id=\"INSTALLDIR\" Name=\"geometrija\">
${komponente}        </Directory>
      </Directory>
      <Directory Id=\"ProgramMenuFolder\">
        <Directory Id=\"MeniGeometrija\" Name=\"geometrija\">
          <Component Id=\"k_precice\" Guid=\"*\" Win64=\"yes\">
            <Shortcut Id=\"p_geometrija\" Name=\"geometrija\" Target=\"[%ComSpec]\"
              Arguments=\"/k geometrija.exe\" WorkingDirectory=\"INSTALLDIR\" Icon=\"${IKONA_IME}\"/>
            <Shortcut Id=\"p_demo\" Name=\"geometrija - demonstracija\"
              Target=\"[INSTALLDIR]geometrija-demo.exe\" WorkingDirectory=\"INSTALLDIR\"/>
${lekcije}            <Shortcut Id=\"p_procitaj\" Name=\"PROCITAJ\" Target=\"[INSTALLDIR]PROCITAJ.txt\"
              WorkingDirectory=\"INSTALLDIR\"/>
            <RemoveFolder Id=\"MeniGeometrija\" On=\"uninstall\"/>
            <RegistryValue Root=\"HKLM\" Key=\"Software\\geometrija\" Name=\"Precice\" Type=\"integer\"
              Value=\"1\" KeyPath=\"yes\"/>
            <RegistryValue Root=\"HKLM\" Key=\"Software\\geometrija\" Name=\"InstallDir\" Type=\"string\"
              Value=\"[INSTALLDIR]\"/>
          </Component>
          <!-- Windows writes DisplayIcon from ARPPRODUCTICON; Wine's Installer
               does not, so the entry names the program's own icon itself. -->
          <Component Id=\"k_ikona\" Guid=\"${IKONA_KOD}\" Win64=\"yes\">
            <RegistryValue Root=\"HKLM\"
              Key=\"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\[ProductCode]\"
              Name=\"DisplayIcon\" Type=\"string\" Value=\"[INSTALLDIR]geometrija.exe,0\" KeyPath=\"yes\"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <!-- A component in no feature is left out without a word. -->
    <Feature Id=\"geometrija\" Level=\"1\">
${reference}      <ComponentRef Id=\"k_precice\"/>
      <ComponentRef Id=\"k_ikona\"/>
    </Feature>
  </Product>
</Wix>
")

file(STRINGS "${RADNA}/geometrija.wxs" apsolutni REGEX "Source(File)?=\"/")
if(apsolutni)
  message(FATAL_ERROR "absolute source paths, which wixl does not find: ${apsolutni}")
endif()

function(pokreni)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${RADNA}" RESULT_VARIABLE status
    OUTPUT_VARIABLE izlaz ERROR_VARIABLE greske)
  if(NOT status EQUAL 0 OR greske MATCHES "Couldn't|rror")
    message(FATAL_ERROR "${ARGN}: ${status}\n${izlaz}${greske}")
  endif()
endfunction()

file(REMOVE "${MSI}")
pokreni(${WIXL} -a x64 -o "${MSI}" geometrija.wxs)
if(NOT EXISTS "${MSI}")
  message(FATAL_ERROR "wixl made no ${MSI}")
endif()

# A table as rows of tab-separated fields (msiinfo's .idt: three lines of heading).
function(tabela ime izlaz)
  execute_process(COMMAND ${MSIINFO} export "${MSI}" ${ime} OUTPUT_VARIABLE tekst
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "msiinfo export ${ime}: ${status}")
  endif()
  string(REPLACE ";" "\\;" tekst "${tekst}")
  string(REPLACE "\r\n" "\n" tekst "${tekst}")
  string(REPLACE "\n" ";" redovi "${tekst}")
  list(SUBLIST redovi 3 -1 redovi)
  list(FILTER redovi EXCLUDE REGEX "^$")
  set(${izlaz} "${redovi}" PARENT_SCOPE)
endfunction()
function(polje red broj izlaz)
  string(REPLACE "\t" ";" polja "${red}")
  list(GET polja ${broj} vrednost)
  set(${izlaz} "${vrednost}" PARENT_SCOPE)
endfunction()

# Every file versioned (the programs by their version resource, the texts by
# the product's, so Windows Installer decides by version alone) and no longer
# hashed, as a versioned file must not be.
foreach(ime IN LISTS datoteke)
  string(MAKE_C_IDENTIFIER "${ime}" id)
  pokreni(${MSIBUILD} "${MSI}" -q "UPDATE File SET Version='${VERZIJA}' WHERE File='${id}'"
    -q "UPDATE File SET Language='0' WHERE File='${id}'")
  tabela(MsiFileHash hesovi)
  if(hesovi MATCHES "(^|;)${id}\t")
    pokreni(${MSIBUILD} "${MSI}" -q "DELETE FROM MsiFileHash WHERE File_='${id}'")
  endif()
endforeach()
# The same version again with another ProductCode replaces it instead of making
# a second entry: VersionMax inclusive (512) beside MigrateFeatures (1). The
# attributes are part of the key, so the table is written anew.
tabela(Upgrade nadogradnja)
set(idt "UpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\tRemove\tActionProperty\n")
string(APPEND idt "s38\tS20\tS20\tS255\ti4\tS255\ts72\nUpgrade\tUpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\n")
foreach(red IN LISTS nadogradnja)
  string(REGEX REPLACE "\t1\t([^\t]*)\tWIX_UPGRADE_DETECTED$" "\t513\t\\1\tWIX_UPGRADE_DETECTED" red "${red}")
  string(APPEND idt "${red}\n")
endforeach()
file(WRITE "${RADNA}/Upgrade.idt" "${idt}")
pokreni(${MSIBUILD} "${MSI}" -i Upgrade.idt)
# wixl draws a new PackageCode on every build. Windows Installer takes two packages
# of one ProductCode with different PackageCodes for two versions of the product,
# and refuses the second (1638) even when it is the same build made again: the
# code is derived from what the package holds instead.
set(sadrzaj "")
foreach(ime IN LISTS datoteke ITEMS geometrija.wxs ${IKONA_IME})
  file(SHA256 "${RADNA}/${ime}" hes)
  string(APPEND sadrzaj "${ime} ${hes}\n")
endforeach()
string(UUID PACKAGE_CODE NAMESPACE ${UPGRADE_CODE} NAME "${VERZIJA}\n${sadrzaj}" TYPE SHA1 UPPER)
# Not through pokreni(), whose arguments would split the template at its ";".
execute_process(COMMAND ${MSIBUILD} "${MSI}" -s "geometrija ${VERZIJA_PROIZVODA}" geometrija "x64;1033"
  "{${PACKAGE_CODE}}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "msibuild -s: ${status}")
endif()

# ---- the checks ----
set(greske "")
execute_process(COMMAND ${MSIINFO} suminfo "${MSI}" OUTPUT_VARIABLE sazetak)
if(NOT sazetak MATCHES "Template: x64;")
  string(APPEND greske "the package is not for x64\n")
endif()
if(NOT sazetak MATCHES "Revision number \\(UUID\\): {${PACKAGE_CODE}}")
  string(APPEND greske "the PackageCode is not {${PACKAGE_CODE}}, the one of this content\n")
endif()
tabela(Component komponente_tabela)
tabela(FeatureComponents u_funkciji)
set(u_funkciji_imena "")
foreach(red IN LISTS u_funkciji)
  polje("${red}" 1 ime)
  list(APPEND u_funkciji_imena "${ime}")
endforeach()
foreach(red IN LISTS komponente_tabela)
  polje("${red}" 0 ime)
  polje("${red}" 3 atributi)
  math(EXPR bit64 "${atributi} & 256")
  if(bit64 EQUAL 0)
    string(APPEND greske "component ${ime} is not 64-bit (attributes ${atributi})\n")
  endif()
  if(NOT ime IN_LIST u_funkciji_imena)
    string(APPEND greske "component ${ime} is in no feature\n")
  endif()
endforeach()
tabela(File fajlovi)
list(LENGTH fajlovi broj_fajlova)
list(LENGTH datoteke broj_datoteka)
if(NOT broj_fajlova EQUAL broj_datoteka)
  string(APPEND greske "${broj_fajlova} files in the File table, ${broj_datoteka} to install\n")
endif()
# A source wixl could not read is packed as nothing, without a word: each row's
# size is its source's, and the cabinet holding them is in the MSI.
foreach(red IN LISTS fajlovi)
  polje("${red}" 0 ime)
  polje("${red}" 2 datoteka)
  polje("${red}" 3 velicina)
  polje("${red}" 4 verzija)
  if(NOT verzija STREQUAL VERZIJA)
    string(APPEND greske "file ${ime} has version '${verzija}', not ${VERZIJA}\n")
  endif()
  file(SIZE "${RADNA}/${datoteka}" izvorna)
  if(NOT velicina EQUAL izvorna)
    string(APPEND greske "file ${ime}: ${velicina} bytes in the MSI, ${izvorna} in its source\n")
  endif()
endforeach()
execute_process(COMMAND ${MSIINFO} streams "${MSI}" OUTPUT_VARIABLE tokovi)
if(NOT tokovi MATCHES "(^|\n)geometrija\\.cab\r?\n")
  string(APPEND greske "no cabinet geometrija.cab in the MSI\n")
endif()
# Program Files itself, not Program Files (x86).
tabela(Directory fascikle)
if(NOT "INSTALLDIR\tProgramFiles64Folder\tgeometrija" IN_LIST fascikle)
  string(APPEND greske "INSTALLDIR is not ProgramFiles64Folder\\geometrija: ${fascikle}\n")
endif()
tabela(MsiFileHash hesovi)
if(hesovi)
  string(APPEND greske "versioned files still hashed: ${hesovi}\n")
endif()
tabela(Upgrade nadogradnja)
set(nadogradnja_ocekivana
  "{${UPGRADE_CODE}}\t\t${VERZIJA_PROIZVODA}\t\t513\t\tWIX_UPGRADE_DETECTED"
  "{${UPGRADE_CODE}}\t${VERZIJA_PROIZVODA}\t\t\t2\t\tWIX_DOWNGRADE_DETECTED")
if(NOT nadogradnja STREQUAL nadogradnja_ocekivana)
  string(APPEND greske "Upgrade table:\n${nadogradnja}\nnot\n${nadogradnja_ocekivana}\n")
endif()
tabela(LaunchCondition uslovi)
if(NOT uslovi STREQUAL "NOT WIX_DOWNGRADE_DETECTED\t${ODBIJENA_STARIJA}")
  string(APPEND greske "no refusal of an older version: ${uslovi}\n")
endif()
# The custom actions between costing (INSTALLDIR known) and the validation;
# the older version found, and removed once the new one is in.
tabela(InstallExecuteSequence koraci)
foreach(akcija FindRelatedProducts RemoveExistingProducts)
  if(NOT koraci MATCHES "(^|;)${akcija}\t")
    string(APPEND greske "no ${akcija}: an older version would stay beside this one\n")
  endif()
endforeach()
foreach(akcija PomocUPrograme MestoUPrograme)
  if(NOT koraci MATCHES "(^|;)${akcija}\t\t100[0-9](;|$)")
    string(APPEND greske "custom action ${akcija} not between CostFinalize and InstallValidate\n")
  endif()
endforeach()
# ProgramMenuFolder named between CostInitialize and CostFinalize, which resolves it.
if(NOT koraci MATCHES "(^|;)MeniZaSve\t\t(80[1-9]|8[1-9][0-9]|9[0-9][0-9])(;|$)")
  string(APPEND greske "custom action MeniZaSve not between CostInitialize and CostFinalize\n")
endif()
# The icon of the Uninstall entry, by ARPPRODUCTICON (Windows) and by a row of its own (Wine).
tabela(Property svojstva)
tabela(Icon ikone)
if(NOT svojstva MATCHES "(^|;)ARPPRODUCTICON\t${IKONA_IME}(;|$)" OR NOT ikone MATCHES "(^|;)${IKONA_IME}\t")
  string(APPEND greske "ARPPRODUCTICON does not name the icon ${IKONA_IME} of the Icon table\n")
endif()
tabela(Registry vrednosti)
if(NOT vrednosti MATCHES "\\\\Uninstall\\\\\\[ProductCode\\]\tDisplayIcon\t")
  string(APPEND greske "no DisplayIcon in the Uninstall entry\n")
endif()
# The folder of an earlier install, looked up in the 64-bit view (raw value, 2 + 16)
# before costing, and written by this one.
tabela(AppSearch pretrage)
tabela(RegLocator lokatori)
if(NOT pretrage STREQUAL "INSTALLDIR\tZapamcenoMesto"
   OR NOT lokatori STREQUAL "ZapamcenoMesto\t2\tSoftware\\geometrija\tInstallDir\t18"
   OR NOT vrednosti MATCHES "\tSoftware\\\\geometrija\tInstallDir\t\\[INSTALLDIR\\]\t"
   OR NOT koraci MATCHES "(^|;)AppSearch\t\t[1-9][0-9]?[0-9]?(;|$)")
  string(APPEND greske "the install folder is not kept and found again: ${pretrage} / ${lokatori}\n")
endif()
execute_process(COMMAND ${MSIINFO} tables "${MSI}" OUTPUT_VARIABLE tabele)
if(tabele MATCHES "(^|\n)(Dialog|Control)(\n|$)")
  string(APPEND greske "user interface tables, which wixl does not make right\n")
endif()
if(greske)
  file(REMOVE "${MSI}")
  message(FATAL_ERROR "${MSI} would not install as it should:\n${greske}")
endif()

include("${CMAKE_CURRENT_LIST_DIR}/potpis.cmake")
geometrija_potpisi("${MSI}")
