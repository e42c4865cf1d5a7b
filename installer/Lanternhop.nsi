; Lanternhop Launcher setup: a per-user installation that needs no administrator rights.
; Built by scripts/build: makensis -DDIST=<program folder> -DOUTFILE=<setup file> Lanternhop.nsi
;
; The program goes into the user's own programs folder, so the folder stays writable for the
; hand-off file a second start leaves there. The Explorer extension is registered for this user
; only, and its two handler keys are made under HKCU\Software\Classes, so that the launcher's own
; writes to HKEY_CLASSES_ROOT land there without administrator rights.
;
; Silent use: LanternhopSetup.exe /S [/NOSTARTUP] [/NOSHELLMENU] [/D=folder]
;             Uninstall.exe /S [/DELETEDATA] [_?=folder]
; Exit code 3010 (as other setups give it) when a file still in use by another program is
; replaced or removed only at the next restart; no box stops a silent run. The uninstaller
; gives it only when run in place with _?=: otherwise it starts a copy of itself and exits at
; once with 0.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!ifndef DIST
  !error "DIST (the program folder to package) is not defined"
!endif
!ifndef ICON
  !define ICON "${DIST}/../../launcher/resources/lanternhop.ico"
!endif
!ifndef OUTFILE
  !define OUTFILE "LanternhopSetup.exe"
!endif
; A build for the tests (-DAS_RESTRICTED_USER) acts as Windows does for a user it refuses what
; Wine grants the test prefix's user: changing files at the next restart, and opening the
; process of a launcher that runs with more rights.

!define PRODUCT "Lanternhop Launcher"
!define VERSION "1.0.0"
!define PUBLISHER "Quenvid Works"
!define EXE "Lanternhop Launcher.exe"
!define CLSID "{10846745-3ECC-4DD9-BB13-73744926CA86}"
!define DATA_KEY "Software\QuenvidWorks\Lanternhop"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\LanternhopLauncher"
!define FILE_HANDLER "Software\Classes\*\shellex\ContextMenuHandlers\1LHLauncher"
!define FOLDER_HANDLER "Software\Classes\Directory\shellex\ContextMenuHandlers\1LHLauncher"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
!define EXIT_COMMAND 32775
!define PANEL_PROPERTY "LanternhopLauncher.Panel"
!define EXIT_WAIT_MS 10000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
!define MOVEFILE_REPLACE_EXISTING 1
!define MOVEFILE_DELAY_UNTIL_REBOOT 4
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010
; HKEY_CURRENT_USER as a 64-bit handle: the predefined keys are sign-extended.
!define HKCU_HANDLE -2147483647

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${DATA_KEY}" "Path"
Icon "${ICON}"
UninstallIcon "${ICON}"
ShowInstDetails hide
ShowUninstDetails hide
BrandingText "${PRODUCT} ${VERSION}"
ComponentText "Choose what the setup does besides installing the program."

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The running launcher's panel in $0, or 0. Its message boxes and dialogs share the panel's class
; and title; only the panel carries the property.
!macro FindLauncherPanel
  StrCpy $0 0
  ${Do}
    FindWindow $0 "#32770" "${PRODUCT}" 0 $0
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetPropW(p r0, w "${PANEL_PROPERTY}") p .r1'
  ${LoopUntil} $1 != 0
!macroend

; A launcher whose process this setup may not open (one started with administrator rights,
; say) still gets the same time to end: the setup then waits for its panel to go. $4 is
; WAIT_OBJECT_0 once it went.
!macro WaitForPanelToGo
  StrCpy $4 "still running"
  StrCpy $5 0
  ${Do}
    Sleep 100
    IntOp $5 $5 + 100
    !insertmacro FindLauncherPanel
    ${If} $0 == 0
      StrCpy $4 ${WAIT_OBJECT_0}
      ${Break}
    ${EndIf}
  ${LoopUntil} $5 >= ${EXIT_WAIT_MS}
!macroend

; A running launcher holds its files: ask it to end as its tray menu's Exit does, then wait for
; its process, not its window, to be gone. One that does not end in time (a dialog of its own is
; open, say) is reported; Cancel, and any silent run, stops the setup before a file is touched.
!macro EndRunningLauncher
  ${Do}
    !insertmacro FindLauncherPanel
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2)'
    !ifdef AS_RESTRICTED_USER
      StrCpy $3 0
    !else
      System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .r3'
    !endif
    SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=5000
    ${If} $3 != 0
      System::Call 'kernel32::WaitForSingleObject(p r3, i ${EXIT_WAIT_MS}) i .r4'
      System::Call 'kernel32::CloseHandle(p r3)'
    ${Else}
      !insertmacro WaitForPanelToGo
    ${EndIf}
    ${If} $4 != ${WAIT_OBJECT_0}
      ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running and did not end within 10 seconds.$\n$\nClose its open windows, or end it from its tray icon, then choose Retry. Cancel stops the setup without changing anything." /SD IDCANCEL IDRETRY`
        Abort "${PRODUCT} is still running."
      ${EndIf}
    ${EndIf}
  ${Loop}
!macroend

; $6 is 1 when PATH holds a "%".
!macro PathHoldsPercent PATH
  StrCpy $6 0
  StrCpy $7 0
  ${Do}
    StrCpy $8 "${PATH}" 1 $7
    ${If} $8 == ""
      ${Break}
    ${ElseIf} $8 == "%"
      StrCpy $6 1
      ${Break}
    ${EndIf}
    IntOp $7 $7 + 1
  ${Loop}
!macroend

; Without the right to ask Windows, a RunOnce value of the user deletes FILE at the next sign-in,
; and the program folder after it once that is empty. The command names the folder once, by its
; short name where it has one, and the rest relative to it, so it stays short; each step runs
; only when the one before it worked. cmd would expand a %NAME% in the path and act on another
; folder: such a folder gets no value, and its copy waits for the next setup or uninstall.
!macro DeleteAtSignIn FILE
  ${GetFileName} "${FILE}" $R8
  ClearErrors
  GetFullPathName /SHORT $R7 "$INSTDIR"
  ${If} ${Errors}
  ${OrIf} $R7 == ""
    StrCpy $R7 "$INSTDIR"
  ${EndIf}
  ${GetFileName} "$R7" $9
  !insertmacro PathHoldsPercent "$R7"
  ${If} $6 == 0
    WriteRegStr HKCU "${RUNONCE_KEY}" "${PRODUCT}: $R8" '"$SYSDIR\cmd.exe" /c cd /d "$R7" && del /f /q "$R8" && cd .. && rd "$9"'
  ${EndIf}
!macroend

; FILE goes at the next start, and the program folder with it once the folder is empty. Asking
; Windows for that takes administrator rights, which this setup does not have as a rule.
!macro DeleteAtRestart FILE
  !ifdef AS_RESTRICTED_USER
    StrCpy $R9 0
  !else
    System::Call 'kernel32::MoveFileExW(w "${FILE}", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i .R9'
  !endif
  ${If} $R9 == 0
    !insertmacro DeleteAtSignIn "${FILE}"
  ${EndIf}
  SetRebootFlag true
!macroend

; A DLL that another process holds loaded (Explorer keeps the extension for minutes, the hook
; library stays mapped in processes the keyboard hook entered) can be neither overwritten nor
; deleted, but it can be renamed. It moves aside under a name no installation uses, so that
; what the next restart deletes can never be a newer copy. $R1 is the new name, empty when
; there was no such file, and "?" when even the rename failed: a program (a virus scanner, a
; backup) holds the file open without letting it be renamed.
!macro MoveAside NAME
  StrCpy $R1 ""
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    StrCpy $R2 1
    ${DoWhile} ${FileExists} "$INSTDIR\${NAME}.$R2.old"
      IntOp $R2 $R2 + 1
    ${Loop}
    ClearErrors
    Rename "$INSTDIR\${NAME}" "$INSTDIR\${NAME}.$R2.old"
    ${If} ${Errors}
      StrCpy $R1 "?"
    ${Else}
      StrCpy $R1 "$INSTDIR\${NAME}.$R2.old"
    ${EndIf}
  ${EndIf}
!macroend

; Copies moved aside, by this run or an earlier one, go now; one still in use goes at the next
; restart. Only these names: the folder may be one the user chose and holds files of their own.
!macro DeleteAsideCopies
  Delete "$INSTDIR\QuenvidTools.dll.*.old"
  Delete "$INSTDIR\QuenvidExtension.dll.*.old"
  ${If} $R3 != ""
  ${AndIf} ${FileExists} $R3
    !insertmacro DeleteAtRestart $R3
  ${EndIf}
  ${If} $R4 != ""
  ${AndIf} ${FileExists} $R4
    !insertmacro DeleteAtRestart $R4
  ${EndIf}
!macroend

; Both DLLs of an earlier version aside before any file is written, or neither: where one
; cannot be moved, the other is put back and the user asked to free it; Cancel, and any silent
; run, stops the setup with nothing changed. The aside names in $R3 and $R4.
!macro MoveLibrariesAside
  ${Do}
    StrCpy $R4 ""
    StrCpy $R5 ""
    !insertmacro MoveAside QuenvidTools.dll
    StrCpy $R3 $R1
    ${If} $R3 == "?"
      StrCpy $R3 ""
      StrCpy $R5 QuenvidTools.dll
    ${Else}
      !insertmacro MoveAside QuenvidExtension.dll
      StrCpy $R4 $R1
      ${If} $R4 == "?"
        StrCpy $R4 ""
        StrCpy $R5 QuenvidExtension.dll
        ${If} $R3 != ""
          Rename $R3 "$INSTDIR\QuenvidTools.dll"
          StrCpy $R3 ""
        ${EndIf}
      ${EndIf}
    ${EndIf}
    ${If} $R5 == ""
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Another program (a virus scanner or a backup program, say) has $INSTDIR\$R5 open, so the earlier version cannot be replaced.$\n$\nChoose Retry once that program lets it go. Cancel stops the setup without changing anything." /SD IDCANCEL IDRETRY`
      Abort "$R5 is in use by another program."
    ${EndIf}
  ${Loop}
!macroend

; Uninstalling: a DLL in use is moved aside and goes at the next restart. One that cannot even
; be moved stays where it is, listed in $R6 for the user; its own name is never left to the
; restart, which would take a newer installation's copy with it.
!macro RemoveLibrary NAME
  !insertmacro MoveAside ${NAME}
  ${If} $R1 == "?"
    StrCpy $R6 "$R6$\n$INSTDIR\${NAME}"
  ${EndIf}
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  !insertmacro EndRunningLauncher
  SetOutPath "$INSTDIR"
  !insertmacro MoveLibrariesAside
  !insertmacro DeleteAsideCopies
  ; An earlier setup left these waiting for a restart to take the DLLs' names.
  Delete "$INSTDIR\QuenvidTools.dll.new"
  Delete "$INSTDIR\QuenvidExtension.dll.new"
  File /r "${DIST}/*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The Explorer extension finds the launcher through this value.
  WriteRegStr HKCU "${DATA_KEY}" "Path" "$INSTDIR\"
  ExecWait '"$SYSDIR\regsvr32.exe" /s /n /i:user "$INSTDIR\QuenvidExtension.dll"'
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start with Windows" SecStartup
  ; Quoted, as the launcher's options write it: the path holds blanks.
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "Add to Explorer's context menu" SecShellMenu
  WriteRegStr HKCU "${FILE_HANDLER}" "" "${CLSID}"
  WriteRegStr HKCU "${FOLDER_HANDLER}" "" "${CLSID}"
SectionEnd

; Without the menu entry the keys are still made, empty, so the launcher's option can fill them.
Section "-ShellMenuKeys"
  ${IfNot} ${SectionIsSelected} ${SecShellMenu}
    WriteRegStr HKCU "${FILE_HANDLER}" "" ""
    DeleteRegValue HKCU "${FILE_HANDLER}" ""
    WriteRegStr HKCU "${FOLDER_HANDLER}" "" ""
    DeleteRegValue HKCU "${FOLDER_HANDLER}" ""
  ${EndIf}
SectionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NOSTARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOSHELLMENU" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecShellMenu}
  ${EndIf}
FunctionEnd

!macro TellRestartCompletes TEXT
  ${If} ${RebootFlag}
    MessageBox MB_OK|MB_ICONINFORMATION "${TEXT}" /SD IDOK
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
  ${EndIf}
!macroend

Function .onInstSuccess
  !insertmacro TellRestartCompletes "Another program still uses a file of the earlier version. The new version is in place; restart Windows to complete the update."
FunctionEnd

Function un.onUninstSuccess
  !insertmacro TellRestartCompletes "Another program still uses a file of ${PRODUCT}. Restart Windows to complete the removal."
FunctionEnd

; A key of the user's that has neither values nor keys of its own goes; any other stays. (NSIS's
; own DeleteRegKey /ifempty looks only for sub-keys and would take a key that holds values.)
!macro DeleteKeyIfEmpty KEY
  System::Call 'shlwapi::SHDeleteEmptyKeyW(p ${HKCU_HANDLE}, w "${KEY}") i'
!macroend

!macro DeleteEmptyHandlerParents PARENT
  !insertmacro DeleteKeyIfEmpty "${PARENT}\shellex\ContextMenuHandlers"
  !insertmacro DeleteKeyIfEmpty "${PARENT}\shellex"
  !insertmacro DeleteKeyIfEmpty "${PARENT}"
!macroend

Section "Uninstall"
  !insertmacro EndRunningLauncher
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u /n /i:user "$INSTDIR\QuenvidExtension.dll"'
  DeleteRegKey HKCU "${FILE_HANDLER}"
  DeleteRegKey HKCU "${FOLDER_HANDLER}"
  ; The keys above them were made for the handlers on a profile that had none; empty, they go.
  !insertmacro DeleteEmptyHandlerParents "Software\Classes\*"
  !insertmacro DeleteEmptyHandlerParents "Software\Classes\Directory"
  ; Likewise the keys the registration and the uninstall entry were made in. On Windows the
  ; user's classes always hold keys of other programs, so only a profile where this setup made
  ; them loses them.
  !insertmacro DeleteKeyIfEmpty "Software\Classes\CLSID"
  !insertmacro DeleteKeyIfEmpty "Software\Classes\AppID"
  !insertmacro DeleteKeyIfEmpty "Software\Classes\TypeLib"
  !insertmacro DeleteKeyIfEmpty "Software\Classes\Interface"
  !insertmacro DeleteKeyIfEmpty "Software\Classes"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"

  ; The personal data: asked, and in silent mode only with /DELETEDATA.
  StrCpy $2 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/DELETEDATA" $R1
  ${IfNot} ${Errors}
    StrCpy $2 1
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Delete your pages, items and settings as well?$\n$\nChoose No to keep them for a later installation." /SD IDNO IDNO keepData
    StrCpy $2 1
  keepData:
  ${EndIf}
  ${If} $2 = 1
    ExecWait '"$INSTDIR\LHLConfigDelPersonalData.exe"'
    DeleteRegKey HKCU "${DATA_KEY}"
    !insertmacro DeleteKeyIfEmpty "Software\QuenvidWorks"
    ; The cleaner leaves the sub-folders; empty ones go, anything still inside them stays.
    RMDir "$APPDATA\LHLauncher\Shortcut"
    RMDir "$APPDATA\LHLauncher\DesktopBackup"
    RMDir "$APPDATA\LHLauncher"
  ${Else}
    DeleteRegValue HKCU "${DATA_KEY}" "Path"
  ${EndIf}

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\${EXE}"
  StrCpy $R6 ""
  !insertmacro RemoveLibrary QuenvidTools.dll
  StrCpy $R3 $R1
  !insertmacro RemoveLibrary QuenvidExtension.dll
  StrCpy $R4 $R1
  ${If} $R3 == "?"
    StrCpy $R3 ""
  ${EndIf}
  ${If} $R4 == "?"
    StrCpy $R4 ""
  ${EndIf}
  !insertmacro DeleteAsideCopies
  Delete "$INSTDIR\QuenvidTools.dll.new"
  Delete "$INSTDIR\QuenvidExtension.dll.new"
  Delete "$INSTDIR\LHLConfigDelPersonalData.exe"
  Delete "$INSTDIR\helpstart.htm"
  Delete "$INSTDIR\helpstart_chs.htm"
  Delete "$INSTDIR\tmp_swap.dat"
  RMDir /r "$INSTDIR\Lang"
  RMDir /r "$INSTDIR\Sounds"
  RMDir /r "$INSTDIR\Images"
  Delete "$INSTDIR\Uninstall.exe"
  ; With a file left for the restart, the folder goes after it; otherwise only an empty folder goes.
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"
  ${Else}
    RMDir "$INSTDIR"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  !insertmacro DeleteKeyIfEmpty "Software\Microsoft\Windows\CurrentVersion\Uninstall"
  ${If} $R6 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "Another program (a virus scanner or a backup program, say) has these files open, so they were left in place:$\n$R6$\n$\nDelete them, and their folder, once that program lets them go." /SD IDOK
  ${EndIf}
SectionEnd
