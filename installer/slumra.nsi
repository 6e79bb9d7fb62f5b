; Slumra setup: packs the program folder into one installer for 32-bit Windows.
;
;   makensis -DPROGRAM_DIR=<program folder> -DOUTFILE=<slumra-setup.exe> -DLISTS_DIR=<folder>
;            [-DICON=<slumra.ico>] slumra.nsi
;
; LISTS_DIR holds Install.nsh and Uninstall.nsh, written by FileLists.cmake from the program
; folder. The uninstaller removes exactly the files listed there and folders only when they are
; empty: the program keeps the user's diaries in User\ beside itself, and those stay.
; Silent: slumra-setup.exe /S, uninstall.exe /S.

Unicode true
SetCompressor /SOLID lzma

!ifndef PROGRAM_DIR
  !error "Define PROGRAM_DIR, the program folder to pack"
!endif
!ifndef OUTFILE
  !error "Define OUTFILE, the installer to write"
!endif
!ifndef LISTS_DIR
  !error "Define LISTS_DIR, the folder of Install.nsh and Uninstall.nsh"
!endif

!define PRODUCT "Slumra"
!define VERSION "2.2 release 2"
!define PUBLISHER "Slumra"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Slumra"
!define UNINSTALLER "uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Slumra"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!include "MUI2.nsh"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Dutch"

VIProductVersion "2.2.2.0"
VIAddVersionKey /LANG=${LANG_DUTCH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_DUTCH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_DUTCH} "FileDescription" "Installatie van ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_DUTCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_DUTCH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_DUTCH} "LegalCopyright" "${PUBLISHER}"

Section "Slumra"
  ; The shortcut is for every user of the machine, as the program folder is.
  SetShellVarContext all

  !include "${LISTS_DIR}/Install.nsh"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\Slumra.lnk" "$INSTDIR\slumra.exe"
  ; The same program in the languages of D\UI.LNG, chosen by dialling code.
  CreateShortcut "$SMPROGRAMS\Slumra (English).lnk" "$INSTDIR\slumra.exe" "/lang:44"
  CreateShortcut "$SMPROGRAMS\Slumra (Deutsch).lnk" "$INSTDIR\slumra.exe" "/lang:49"

  ; The program reads UninstallString for its "uninstall" argument.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\slumra.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all

  ; "slumra uninstall" asks a running program to close and starts this without waiting; the
  ; program's farewell takes a few seconds. Wait for it rather than leave half an installation.
  StrCpy $0 0
  wait_for_program:
    Delete "$INSTDIR\slumra.exe"
    IfFileExists "$INSTDIR\slumra.exe" 0 program_closed
    IntOp $0 $0 + 1
    IntCmp $0 30 0 still_waiting 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
          "Slumra is nog geopend. Sluit het programma en kies Opnieuw." \
          /SD IDCANCEL IDRETRY retry_wait
      Abort "Slumra is nog geopend; er is niets verwijderd."
    retry_wait:
      StrCpy $0 0
    still_waiting:
    Sleep 500
    Goto wait_for_program
  program_closed:

  ; Only what the installer put here: the user's diaries (User\) and their folder stay.
  !include "${LISTS_DIR}/Uninstall.nsh"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Slumra.lnk"
  Delete "$SMPROGRAMS\Slumra (English).lnk"
  Delete "$SMPROGRAMS\Slumra (Deutsch).lnk"
  ; Last, so that a gone registration means a finished uninstall.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
