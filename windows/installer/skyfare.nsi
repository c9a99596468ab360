; Skyfare's setup program: the pictures, the sound and the support page go into the folder the
; saver reads them from, Skyfare.scr into the system folder where Screen Saver Settings lists it,
; and an entry in Programs and Features leads to the uninstaller. Nothing else is touched: not
; the chosen screen saver, not the user's settings.
;
; The build defines VERSION, FILE_VERSION (four numbers), SCREEN_SAVER (the built .scr),
; INSTALL_LIST and REMOVAL_LIST (the data folder's File and Delete lines) and OUTFILE; ICON,
; the program's .ico, when there is one.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true
; A file that cannot be written ends the installation; skipping it would report a broken
; installation as a good one, and a silent run skips without asking.
AllowSkipFiles off

!include x64.nsh
!include MUI2.nsh

!define PRODUCT_NAME "Skyfare"
!define PUBLISHER "Corvinel"
; The saver reads its data from this one folder, so it is not offered for change.
!define DATA_FOLDER "C:\Corvinel\Skyfare"
!define PARENT_FOLDER "C:\Corvinel"
!define SCREEN_SAVER_NAME "Skyfare.scr"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Skyfare"

Name "${PRODUCT_NAME} ${VERSION}"
Caption "${PRODUCT_NAME} ${VERSION} Setup"
UninstallCaption "${PRODUCT_NAME} ${VERSION} Uninstall"
BrandingText "${PRODUCT_NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${DATA_FOLDER}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT_NAME} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_WELCOMEPAGE_TITLE "${PRODUCT_NAME} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "This installs the ${PRODUCT_NAME} screen saver, version ${VERSION}, \
  by ${PUBLISHER}.$\r$\n$\r$\nIts pictures and sound go into ${DATA_FOLDER}, the saver into the \
  system folder. Afterwards, pick $\"${PRODUCT_NAME}$\" in Screen Saver Settings.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${PRODUCT_NAME}" SectionMain
  SectionIn RO
  ; A 64-bit setup is not redirected today; saying so keeps $SYSDIR the real System32 and the
  ; 64-bit registry view whatever the stub becomes.
  SetRegView 64
  ${DisableX64FSRedirection}

  SetOutPath "${DATA_FOLDER}"
  ; The uninstaller comes first, so that whatever a failed run left behind can be taken away.
  WriteUninstaller "${DATA_FOLDER}\${UNINSTALLER}"
  !include "${INSTALL_LIST}"

  SetOutPath "$SYSDIR"
  File "/oname=${SCREEN_SAVER_NAME}" "${SCREEN_SAVER}"
  SetOutPath "${DATA_FOLDER}"

  ; Programs and Features lists only a complete installation.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\${SCREEN_SAVER_NAME},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${DATA_FOLDER}\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${DATA_FOLDER}\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "${DATA_FOLDER}"
  SectionGetSize ${SectionMain} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Takes away exactly what the setup put in place, by name: a picture of the user's own in the
; data folder keeps the folder, and the settings under HKCU stay for a later installation.
Section "Uninstall"
  SetRegView 64
  ${DisableX64FSRedirection}

  Delete "$SYSDIR\${SCREEN_SAVER_NAME}"
  !include "${REMOVAL_LIST}"
  Delete "${DATA_FOLDER}\${UNINSTALLER}"
  SetOutPath "$TEMP"
  RMDir "${DATA_FOLDER}"
  RMDir "${PARENT_FOLDER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
