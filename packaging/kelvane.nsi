; Kelvane's per-user installer. Built by scripts/package, which passes:
;   VERSION  the four-part program version (the one in the program's version resource)
;   STAGE    a folder holding kelvane.exe and Themes\*.Kelvane Theme
;   OUTFILE  the installer to write
;   SOURCE   the source tree (for the icon and the pages' side picture)
;
; Installs into the user's own programs folder without administrator rights. Command line:
;   /S                 silent
;   /AUTOSTART=0|1     start with Windows (default 1)
;   /D=folder          install folder (last on the line, unquoted, as NSIS wants)
; The uninstaller takes /S and /REMOVESETTINGS (also remove settings, color themes, language files,
; log and memory history).
;
; Both speak Simplified Chinese on a Windows whose display language is Chinese, and English on
; any other, as the program does.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Kelvane"
!define PUBLISHER "Brimvale"
!define EXE "kelvane.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The program's own folder for settings, log and themes, under the roaming application data.
!define DATA_FOLDER "$APPDATA\Brimvale\Kelvane"
; The running copy's window class and the message it takes as its Exit command.
!define MAIN_WINDOW_CLASS "TFrmKelvaneMain"
!define EXIT_REQUEST_MESSAGE "Kelvane.ExitRequest"
!define WAIT_AND_QUERY_ACCESS 0x00101000  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
!define WAIT_OBJECT_0 0
!define WAIT_TIMEOUT 258

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"

!define MUI_ICON "${SOURCE}\assets\kelvane.ico"
!define MUI_UNICON "${SOURCE}\assets\kelvane.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
; The program's own side picture (tools/pictures draws it); the pages' show functions replace
; it with the one drawn for the system's DPI.
!define SIDE_PICTURES "${SOURCE}\assets\installer"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURES}\side-164x314.bmp"

!define MUI_PAGE_CUSTOMFUNCTION_SHOW WelcomePageShow
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

!macro VERSION_KEYS lang description
VIAddVersionKey /LANG=${lang} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${lang} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${lang} "FileDescription" "${description}"
VIAddVersionKey /LANG=${lang} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${lang} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${lang} "LegalCopyright" "Copyright © ${PUBLISHER}"
!macroend
!insertmacro VERSION_KEYS ${LANG_SIMPCHINESE} "${PRODUCT} 安装程序"
!insertmacro VERSION_KEYS ${LANG_ENGLISH} "${PRODUCT} Setup"

LangString StillRunning ${LANG_SIMPCHINESE} "Kelvane 仍在运行, 没有退出. 请从托盘菜单选择 $\"退出$\", 然后按 $\"重试$\"."
LangString StillRunning ${LANG_ENGLISH} "Kelvane did not exit and is still running. Right-click its icon in the notification area, choose $\"Exit$\", and then click $\"Retry$\"."
LangString AutostartSection ${LANG_SIMPCHINESE} "开机时启动 Kelvane"
LangString AutostartSection ${LANG_ENGLISH} "Start Kelvane with Windows"
LangString RemoveSettingsSection ${LANG_SIMPCHINESE} "同时删除设置、颜色主题、语言文件、日志和内存历史"
LangString RemoveSettingsSection ${LANG_ENGLISH} "Also remove settings, color themes, language files, log and memory history"

; Windows' display language decides, as it does for the program: any Chinese one (primary
; language 0x04) gives Simplified Chinese, any other English.
!define LANG_PRIMARY_CHINESE 4
!macro CHOOSE_LANGUAGE
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & 0x3FF
  ${If} $0 = ${LANG_PRIMARY_CHINESE}
    StrCpy $LANGUAGE ${LANG_SIMPCHINESE}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
!macroend

; The side picture drawn for the system's DPI, into $0. The page's dialog units grow with the
; DPI, so at 96, 144 and 192 DPI the picture control is exactly that picture's size; at a DPI
; between them the next larger picture is shrunk to the control rather than a smaller one blown up.
!define LOGPIXELSY 90
Function ExtractSidePicture
  Push $1
  Push $2
  System::Call 'user32::GetDC(p 0) p .r1'
  System::Call 'gdi32::GetDeviceCaps(p r1, i ${LOGPIXELSY}) i .r2'
  System::Call 'user32::ReleaseDC(p 0, p r1) i'
  ${If} $2 <= 96
    StrCpy $0 "$PLUGINSDIR\side-164x314.bmp"
    File "/oname=$PLUGINSDIR\side-164x314.bmp" "${SIDE_PICTURES}\side-164x314.bmp"
  ${ElseIf} $2 <= 144
    StrCpy $0 "$PLUGINSDIR\side-246x471.bmp"
    File "/oname=$PLUGINSDIR\side-246x471.bmp" "${SIDE_PICTURES}\side-246x471.bmp"
  ${Else}
    StrCpy $0 "$PLUGINSDIR\side-328x628.bmp"
    File "/oname=$PLUGINSDIR\side-328x628.bmp" "${SIDE_PICTURES}\side-328x628.bmp"
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

; Puts the picture for the system's DPI on a page's image control, in place of the one the page
; loaded; the page frees whatever handle `bitmap` holds when it closes.
!macro SHOW_SIDE_PICTURE image bitmap
  Push $0
  Call ExtractSidePicture
  ${NSD_FreeImage} ${bitmap}
  ${NSD_SetStretchedImage} ${image} $0 ${bitmap}
  Pop $0
!macroend
Function WelcomePageShow
  !insertmacro SHOW_SIDE_PICTURE $mui.WelcomePage.Image $mui.WelcomePage.Image.Bitmap
FunctionEnd
Function FinishPageShow
  !insertmacro SHOW_SIDE_PICTURE $mui.FinishPage.Image $mui.FinishPage.Image.Bitmap
FunctionEnd

; The program file of the copy that was asked to end, to start that same copy again.
Var closedRunningCopy

; Asks a running copy to end as its Exit command does (it saves its settings first) and waits
; for the process to be gone, so that its files can be replaced or removed.
!macro CLOSE_RUNNING_COPY un
Function ${un}CloseRunningCopy
  StrCpy $closedRunningCopy ""
  retry:
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1) i'
  System::Call 'kernel32::OpenProcess(i ${WAIT_AND_QUERY_ACCESS}, i 0, i r1) p .r2'
  StrCpy $7 ""
  ${If} $2 P<> 0
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r7, *i ${NSIS_MAX_STRLEN}) i'
  ${EndIf}
  System::Call 'user32::RegisterWindowMessageW(w "${EXIT_REQUEST_MESSAGE}") i .r3'
  System::Call 'user32::PostMessageW(p r0, i r3, p 0, p 0) i'
  ${If} $2 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i 15000) i .r4'
    System::Call 'kernel32::CloseHandle(p r2) i'
  ${Else}
    ; No handle to wait on: watch the window instead.
    StrCpy $4 ${WAIT_TIMEOUT}
    ${For} $5 1 30
      Sleep 500
      FindWindow $6 "${MAIN_WINDOW_CLASS}"
      ${If} $6 == 0
        StrCpy $4 ${WAIT_OBJECT_0}
        ${Break}
      ${EndIf}
    ${Next}
  ${EndIf}
  ${If} $4 == ${WAIT_OBJECT_0}
    StrCpy $closedRunningCopy $7
    Goto retry  ; a copy of another user session is not found, so this ends
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY retry
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPY ""
!insertmacro CLOSE_RUNNING_COPY "un."

Section "Kelvane" SecProgram
  SectionIn RO
  SetShellVarContext current
  Call CloseRunningCopy

  SetOutPath "$INSTDIR"
  File "${STAGE}\${EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The colour themes belong to the user's data folder, where the program looks for them;
  ; themes the user has already changed stay as they are.
  SetOutPath "${DATA_FOLDER}\Themes"
  SetOverwrite off
  File "${STAGE}\Themes\*.Kelvane Theme"
  SetOverwrite on
  SetOutPath "$INSTDIR"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "$(AutostartSection)" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ; A silent update puts the closed copy back; with the wizard the finish page offers it.
  ${If} ${Silent}
  ${AndIf} $closedRunningCopy != ""
    Exec '"$closedRunningCopy"'
  ${EndIf}
SectionEnd

Function .onInit
  !insertmacro CHOOSE_LANGUAGE
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == 0
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Section "un.Kelvane" UnSecProgram
  SectionIn RO
  SetShellVarContext current
  Call un.CloseRunningCopy
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == '"$INSTDIR\${EXE}"'
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
SectionEnd

Section /o "un.$(RemoveSettingsSection)" UnSecSettings
  RMDir /r "${DATA_FOLDER}"
  RMDir "$APPDATA\Brimvale"
  ; A copy with its settings beside it (portable use of this folder) keeps its themes and log
  ; there too. The folder may be one the user had before: only our own files go, and Themes
  ; only when nothing of the user's is left in it. Without those settings, a Themes folder
  ; here is not ours at all.
  ${If} ${FileExists} "$INSTDIR\Kelvane.Settings"
    Delete "$INSTDIR\Themes\*.Kelvane Theme"
    RMDir "$INSTDIR\Themes"
    Delete "$INSTDIR\Kelvane.Settings"
    ; The memory history it kept there, and one a start stopped while making it; a file it once
    ; kept aside as not a history file is the user's to look at, and stays.
    Delete "$INSTDIR\Kelvane.History"
    Delete "$INSTDIR\Kelvane.History.new"
  ${EndIf}
  ; Language files beside the program are read by any copy in this folder, portable or not.
  Delete "$INSTDIR\Languages\*.lng"
  RMDir "$INSTDIR\Languages"
  Delete "$INSTDIR\Kelvane.log"
SectionEnd

; Last, so that a script waiting for the uninstaller can watch for the entry to go.
Section "-un.Finish"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  !insertmacro CHOOSE_LANGUAGE
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
