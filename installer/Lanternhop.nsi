; Lanternhop Launcher setup: a per-user installation that needs no administrator rights.
; Built by the build (the "setup" target): makensis -DDIST=<program folder> -DOUTFILE=<setup file> Lanternhop.nsi
;
; The program goes into the user's own programs folder, so the folder stays writable for the
; hand-off file a second start leaves there. The Explorer extension is registered for this user
; only, and its two handler keys are made under HKCU\Software\Classes, so that the launcher's own
; writes to HKEY_CLASSES_ROOT land there without administrator rights.
;
;
; Its last page offers to start the launcher. A silent run starts it only with /RUN, or when it
; ended a running launcher to replace its files: the user had it running, and keeps it so.
;
; Silent use: LanternhopSetup.exe /S [/NOSTARTUP] [/NOSHELLMENU] [/RUN] [/D=folder]
;             Uninstall.exe /S [/DELETEDATA] [_?=folder]
; Exit code 3010 (as other setups give it) when a file still in use by another program is
; replaced or removed only at the next restart, and only when that restart (or sign-in) is
; really set to remove it; 2 when the setup stopped with nothing replaced; no box stops a
; silent run. The uninstaller gives its code only when run in place with _?=: otherwise it
; starts a copy of itself and exits at once with 0.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
; A file that cannot be written is never skipped: the setup would report success with an old
; program beside new libraries. Cancel, the answer of a silent run, stops it.
AllowSkipFiles off

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!ifndef DIST
  !error "DIST (the program folder to package) is not defined"
!endif
!ifndef ICON
  !define ICON "${DIST}/../../launcher/resources/lanternhop.ico"
!endif
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
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
; The handler keys as HKEY_CLASSES_ROOT shows them (what Explorer and the launcher's options
; read), and the user's own copies of them.
!define FILE_HANDLER_CLASS "*\shellex\ContextMenuHandlers\1LHLauncher"
!define FOLDER_HANDLER_CLASS "Directory\shellex\ContextMenuHandlers\1LHLauncher"
!define FILE_HANDLER "Software\Classes\${FILE_HANDLER_CLASS}"
!define FOLDER_HANDLER "Software\Classes\${FOLDER_HANDLER_CLASS}"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
!define EXIT_COMMAND 32775
!define PANEL_PROPERTY "LanternhopLauncher.Panel"
!define EXIT_WAIT_MS 10000
!define FILE_WAIT_MS 5000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
!define MOVEFILE_REPLACE_EXISTING 1
!define MOVEFILE_DELAY_UNTIL_REBOOT 4
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define TOKEN_QUERY 0x0008
!define TOKEN_DUPLICATE 0x0002
; TOKEN_ASSIGN_PRIMARY, TOKEN_DUPLICATE, TOKEN_QUERY, TOKEN_ADJUST_DEFAULT, TOKEN_ADJUST_SESSIONID
!define PRIMARY_TOKEN_ACCESS 0x018B
!define TOKEN_ELEVATION_TYPE 18
!define TOKEN_ELEVATION_TYPE_FULL 2
!define SECURITY_IMPERSONATION 2
!define TOKEN_PRIMARY 1
!define STARTUPINFO_SIZE 104
!define PROCESS_INFORMATION_SIZE 24
; HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE as 64-bit handles: the predefined keys are sign-extended.
!define HKCU_HANDLE -2147483647
!define HKLM_HANDLE -2147483646

; The earlier version's DLLs while they are moved aside (see MoveLibrariesAside), and the old
; copies that neither Windows nor a sign-in was set to remove, for the closing message.
Var ToolsAside
Var ExtensionAside
Var LeftInPlace
; 1 once this run ended a running launcher.
Var LauncherEnded

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${DATA_KEY}" "Path"
ShowInstDetails hide
ShowUninstDetails hide
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Choose what the setup does besides installing the program."
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The closing message says when a restart completes the update; the launcher runs without it,
; so the last page always offers to start it rather than to restart Windows.
!define MUI_FINISHPAGE_NOREBOOTSUPPORT
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartLauncher
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

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
; open, say) is reported; Cancel, and any silent run, stops the setup (or the uninstall, as WHAT
; names it) before a file is touched.
!macro EndRunningLauncher WHAT
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
    ${If} $4 == ${WAIT_OBJECT_0}
      StrCpy $LauncherEnded 1
    ${Else}
      ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running and did not end within 10 seconds.$\n$\nClose its open windows, or end it from its tray icon, then choose Retry. Cancel stops ${WHAT} without changing anything." /SD IDCANCEL IDRETRY`
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
; $6 is 0 when the value was written.
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
    ClearErrors
    WriteRegStr HKCU "${RUNONCE_KEY}" "${PRODUCT}: $R8" '"$SYSDIR\cmd.exe" /c cd /d "$R7" && del /f /q "$R8" && cd .. && rd "$9"'
    ${If} ${Errors}
      StrCpy $6 1
    ${EndIf}
  ${EndIf}
!macroend

; FILE goes at the next start, and the program folder with it once the folder is empty. Asking
; Windows for that takes administrator rights, which this setup does not have as a rule. Only
; what something was really set to remove counts for "a restart completes it"; a copy nothing
; removes is named to the user instead.
!macro DeleteAtRestart FILE
  !ifdef AS_RESTRICTED_USER
    StrCpy $R9 0
  !else
    System::Call 'kernel32::MoveFileExW(w "${FILE}", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i .R9'
  !endif
  ${If} $R9 != 0
    SetRebootFlag true
  ${Else}
    !insertmacro DeleteAtSignIn "${FILE}"
    ${If} $6 == 0
      SetRebootFlag true
    ${Else}
      StrCpy $LeftInPlace "$LeftInPlace$\n${FILE}"
    ${EndIf}
  ${EndIf}
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

; The copy moved aside to ASIDE takes its name again, over a new copy written meanwhile.
!macro PutLibraryBack NAME ASIDE
  ${If} ${ASIDE} != ""
    Delete "$INSTDIR\${NAME}"
    Rename ${ASIDE} "$INSTDIR\${NAME}"
    StrCpy ${ASIDE} ""
  ${EndIf}
!macroend

; Copies moved aside, by this run or an earlier one, go now; one still in use goes at the next
; restart. Only these names: the folder may be one the user chose and holds files of their own.
!macro DeleteAsideCopies
  Delete "$INSTDIR\QuenvidTools.dll.*.old"
  Delete "$INSTDIR\QuenvidExtension.dll.*.old"
  ${If} $ToolsAside != ""
  ${AndIf} ${FileExists} $ToolsAside
    !insertmacro DeleteAtRestart $ToolsAside
  ${EndIf}
  ${If} $ExtensionAside != ""
  ${AndIf} ${FileExists} $ExtensionAside
    !insertmacro DeleteAtRestart $ExtensionAside
  ${EndIf}
!macroend

; Both DLLs of an earlier version aside before any file is written, or neither: where one
; cannot be moved, the other is put back and the user asked to free it; Cancel, and any silent
; run, stops the setup with nothing changed. They stay aside until the new version is complete,
; so that a setup that stops half-way can put them back.
!macro MoveLibrariesAside
  ${Do}
    StrCpy $ExtensionAside ""
    StrCpy $R5 ""
    !insertmacro MoveAside QuenvidTools.dll
    StrCpy $ToolsAside $R1
    ${If} $ToolsAside == "?"
      StrCpy $ToolsAside ""
      StrCpy $R5 QuenvidTools.dll
    ${Else}
      !insertmacro MoveAside QuenvidExtension.dll
      StrCpy $ExtensionAside $R1
      ${If} $ExtensionAside == "?"
        StrCpy $ExtensionAside ""
        StrCpy $R5 QuenvidExtension.dll
        !insertmacro PutLibraryBack QuenvidTools.dll $ToolsAside
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

; The files the setup installs besides the two DLLs, by name. The uninstaller removes exactly
; these: the folder may be one the user shares with other programs (C:\Tools, a portable-apps
; folder), whose "Lang", "Sounds" and "Images" hold their files as well as ours. DO is a macro
; taking the sub-folder ("" or "\Lang"), the same as the packaged folder names it, and the name.
!macro ForEachProgramFile DO
  !insertmacro ${DO} "" "" "${EXE}"
  !insertmacro ${DO} "" "" "LHLConfigDelPersonalData.exe"
  !insertmacro ${DO} "" "" "helpstart.htm"
  !insertmacro ${DO} "" "" "helpstart_chs.htm"
  !insertmacro ${DO} "\Lang" "/Lang" "ChineseSimplified.ini"
  !insertmacro ${DO} "\Sounds" "/Sounds" "default_active.wav"
  !insertmacro ${DO} "\Sounds" "/Sounds" "default_click.wav"
  !insertmacro ${DO} "\Sounds" "/Sounds" "default_switch.wav"
  !insertmacro ${DO} "\Images" "/Images" "default.bmp"
  !insertmacro ${DO} "\Images" "/Images" "manual_panel.png"
  !insertmacro ${DO} "\Images" "/Images" "manual_find.png"
  !insertmacro ${DO} "\Images" "/Images" "manual_find_chs.png"
!macroend

!macro InstallProgramFile FOLDER SOURCE NAME
  SetOutPath "$INSTDIR${FOLDER}"
  File "${DIST}${SOURCE}/${NAME}"
!macroend

!macro RemoveProgramFile FOLDER SOURCE NAME
  Delete "$INSTDIR${FOLDER}\${NAME}"
!macroend

; The earlier version's other files wait under this ending until the new version is complete,
; so that a setup that stops half-way puts every one of them back.
!define KEPT ".setup-old"

; $R5 is the first file that could not be moved aside, or stays empty.
!macro SetFileAside FOLDER SOURCE NAME
  ${If} ${FileExists} "$INSTDIR${FOLDER}\${NAME}"
    Delete "$INSTDIR${FOLDER}\${NAME}${KEPT}"
    ClearErrors
    Rename "$INSTDIR${FOLDER}\${NAME}" "$INSTDIR${FOLDER}\${NAME}${KEPT}"
    ${If} ${Errors}
    ${AndIf} $R5 == ""
      StrCpy $R5 "$INSTDIR${FOLDER}\${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

!macro PutFileBack FOLDER SOURCE NAME
  ${If} ${FileExists} "$INSTDIR${FOLDER}\${NAME}${KEPT}"
    Delete "$INSTDIR${FOLDER}\${NAME}"
    Rename "$INSTDIR${FOLDER}\${NAME}${KEPT}" "$INSTDIR${FOLDER}\${NAME}"
  ${EndIf}
!macroend

!macro DropFileAside FOLDER SOURCE NAME
  Delete "$INSTDIR${FOLDER}\${NAME}${KEPT}"
!macroend

; $R5 is the first existing file that cannot be opened for writing, or stays empty. A running
; program (the launcher started by the same user in another session) and a file a scanner
; holds open both refuse it.
!macro FindUnwritable FOLDER SOURCE NAME
  ${If} $R5 == ""
  ${AndIf} ${FileExists} "$INSTDIR${FOLDER}\${NAME}"
    ClearErrors
    FileOpen $9 "$INSTDIR${FOLDER}\${NAME}" a
    ${If} ${Errors}
      StrCpy $R5 "$INSTDIR${FOLDER}\${NAME}"
    ${Else}
      FileClose $9
    ${EndIf}
  ${EndIf}
!macroend

; Every file to be replaced must be writable before the first one is: otherwise the setup would
; leave new files beside an old program. A launcher whose panel has just gone may still be
; ending, so its program file gets a few seconds to free up. Cancel, and any silent run, stops
; the setup unchanged.
!macro WaitUntilProgramFilesWritable
  StrCpy $5 0
  ${Do}
    StrCpy $R5 ""
    !insertmacro ForEachProgramFile FindUnwritable
    !insertmacro FindUnwritable "" "" "Uninstall.exe"
    ${If} $R5 == ""
      ${Break}
    ${EndIf}
    ${If} $5 < ${FILE_WAIT_MS}
      Sleep 250
      IntOp $5 $5 + 250
      ${Continue}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R5 cannot be replaced: another program has it open (a virus scanner, say, or ${PRODUCT} started by another user session).$\n$\nChoose Retry once that program lets it go. Cancel stops the setup without changing anything." /SD IDCANCEL IDRETRY`
      Abort "$R5 is in use by another program."
    ${EndIf}
  ${Loop}
!macroend

; $0 is regsvr32's exit code, "" when it could not be started.
!macro RegisterExtension
  StrCpy $0 ""
  ExecWait '"$SYSDIR\regsvr32.exe" /s /n /i:user "$INSTDIR\QuenvidExtension.dll"' $0
!macroend

; The registration gives the handler keys their value whatever was chosen: without the menu
; entry it goes again, in the user's keys and wherever HKEY_CLASSES_ROOT shows it from.
!macro ClearUnchosenHandlerValues
  ${IfNot} ${SectionIsSelected} ${SecShellMenu}
    DeleteRegValue HKCU "${FILE_HANDLER}" ""
    DeleteRegValue HKCU "${FOLDER_HANDLER}" ""
    DeleteRegValue HKCR "${FILE_HANDLER_CLASS}" ""
    DeleteRegValue HKCR "${FOLDER_HANDLER_CLASS}" ""
  ${EndIf}
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

Var RegistrationFailed
Var FilesAside

Section "${PRODUCT}" SecProgram
  SectionIn RO
  !insertmacro EndRunningLauncher "the setup"
  !insertmacro WaitUntilProgramFilesWritable
  SetOutPath "$INSTDIR"
  !insertmacro MoveLibrariesAside
  StrCpy $FilesAside 1
  StrCpy $R5 ""
  !insertmacro ForEachProgramFile SetFileAside
  ${If} $R5 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$R5 could not be replaced, so the setup stopped and put the earlier version back." /SD IDOK
    Abort "$R5 could not be replaced."
  ${EndIf}
  ; An earlier setup left these waiting for a restart to take the DLLs' names.
  Delete "$INSTDIR\QuenvidTools.dll.new"
  Delete "$INSTDIR\QuenvidExtension.dll.new"
  File "${DIST}/QuenvidTools.dll"
  File "${DIST}/QuenvidExtension.dll"
  !insertmacro ForEachProgramFile InstallProgramFile
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The Explorer extension finds the launcher through this value.
  WriteRegStr HKCU "${DATA_KEY}" "Path" "$INSTDIR\"
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
SectionEnd

Section "Start with Windows" SecStartup
  ; Quoted, as the launcher's options write it: the path holds blanks.
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "Add to Explorer's context menu" SecShellMenu
  WriteRegStr HKCU "${FILE_HANDLER}" "" "${CLSID}"
  WriteRegStr HKCU "${FOLDER_HANDLER}" "" "${CLSID}"
SectionEnd

; What was not chosen is undone, so that an upgrade leaves it as the user left it. Without the
; menu entry the keys are still made, empty, so the launcher's option can fill them.
Section "-Unchosen"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecShellMenu}
    WriteRegStr HKCU "${FILE_HANDLER}" "" ""
    DeleteRegValue HKCU "${FILE_HANDLER}" ""
    WriteRegStr HKCU "${FOLDER_HANDLER}" "" ""
    DeleteRegValue HKCU "${FOLDER_HANDLER}" ""
  ${EndIf}
SectionEnd

; Only now that the user's handler keys exist: the registration writes them through
; HKEY_CLASSES_ROOT, which puts a key the user's classes lack into the machine's classes when
; the setup runs with a full administrator token, where the uninstaller would not look and,
; without that token, could not delete. With the user's keys in place the writes land in them.
Section "-Registration"
  !insertmacro RegisterExtension
  ${If} $0 != 0
    StrCpy $RegistrationFailed 1
    MessageBox MB_OK|MB_ICONSTOP "The Explorer extension $INSTDIR\QuenvidExtension.dll could not be registered for this user (regsvr32 ended with code $0), so the setup stopped and put the earlier version, if any, back." /SD IDOK
    Abort "The Explorer extension could not be registered."
  ${EndIf}
  !insertmacro ClearUnchosenHandlerValues
  !insertmacro DeleteAsideCopies
  !insertmacro ForEachProgramFile DropFileAside
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; $0 is 1 when the setup holds an administrator's full token: the user started it "as
; administrator". With the split token of a normal start, UAC off, or a standard user it is 0.
!macro HoldsFullAdministratorToken
  StrCpy $0 0
  System::Call 'kernel32::GetCurrentProcess() p .r1'
  System::Call 'advapi32::OpenProcessToken(p r1, i ${TOKEN_QUERY}, *p .r2) i .r3'
  ${If} $3 != 0
    System::Call 'advapi32::GetTokenInformation(p r2, i ${TOKEN_ELEVATION_TYPE}, *i .r4, i 4, *i .r5) i .r3'
    ${If} $3 != 0
    ${AndIf} $4 == ${TOKEN_ELEVATION_TYPE_FULL}
      StrCpy $0 1
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
!macroend

; Starts the launcher in the program folder with the token of the process that owns window $1
; (the user's shell). Nothing starts where a step fails.
!macro StartWithTokenOfWindowOwner
  System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
  System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r2) p .r3'
  ${If} $3 != 0
    System::Call 'advapi32::OpenProcessToken(p r3, i ${TOKEN_DUPLICATE}, *p .r4) i .r5'
    ${If} $5 != 0
      System::Call 'advapi32::DuplicateTokenEx(p r4, i ${PRIMARY_TOKEN_ACCESS}, p 0, i ${SECURITY_IMPERSONATION}, i ${TOKEN_PRIMARY}, *p .r6) i .r5'
      ${If} $5 != 0
        System::Alloc ${STARTUPINFO_SIZE}
        Pop $7
        System::Call '*$7(i ${STARTUPINFO_SIZE})'
        System::Alloc ${PROCESS_INFORMATION_SIZE}
        Pop $8
        System::Call 'advapi32::CreateProcessWithTokenW(p r6, i 0, w "$INSTDIR\${EXE}", w `"$INSTDIR\${EXE}"`, i 0, p 0, w "$INSTDIR", p r7, p r8) i .r5'
        ${If} $5 != 0
          System::Call '*$8(p .r1, p .r2)'
          System::Call 'kernel32::CloseHandle(p r1)'
          System::Call 'kernel32::CloseHandle(p r2)'
        ${EndIf}
        System::Free $7
        System::Free $8
        System::Call 'kernel32::CloseHandle(p r6)'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r4)'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r3)'
  ${EndIf}
!macroend

; As the user, in the program folder. The setup never asks for more rights, but a user may still
; start it "as administrator": a launcher started from it then would run elevated as well, and
; Windows keeps Explorer's drops and other programs' input away from an elevated window. It
; then starts with the token of the user's shell, as one started from the Start menu would.
; Without a shell there is no other token to take.
Function StartLauncher
  SetOutPath "$INSTDIR"
  !insertmacro HoldsFullAdministratorToken
  System::Call 'user32::GetShellWindow() p .r1'
  ${If} $0 == 1
  ${AndIf} $1 != 0
    !insertmacro StartWithTokenOfWindowOwner
  ${Else}
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
FunctionEnd

; A setup that stopped half-way puts the earlier version's files back, and with a failed
; registration, which removes the earlier one, registers the earlier extension again. A launcher
; it ended runs again, the earlier version.
Function .onInstFailed
  ${If} $FilesAside == 1
    !insertmacro ForEachProgramFile PutFileBack
  ${EndIf}
  StrCpy $R0 $ExtensionAside
  !insertmacro PutLibraryBack QuenvidTools.dll $ToolsAside
  !insertmacro PutLibraryBack QuenvidExtension.dll $ExtensionAside
  ${If} $R0 != ""
  ${AndIf} $RegistrationFailed == 1
    !insertmacro RegisterExtension
    !insertmacro ClearUnchosenHandlerValues
  ${EndIf}
  ${If} $LauncherEnded == 1
  ${AndIf} ${FileExists} "$INSTDIR\${EXE}"
    Call StartLauncher
  ${EndIf}
FunctionEnd

; An upgrade offers what is set now: the user may have switched either off in the launcher's
; options since. A first installation offers both. The options on the command line win.
Function .onInit
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $R0 != ""
    ClearErrors
    ReadRegStr $R0 HKCU "${RUN_KEY}" "${PRODUCT}"
    ${If} ${Errors}
      !insertmacro UnselectSection ${SecStartup}
    ${EndIf}
    ReadRegStr $R0 HKCR "${FILE_HANDLER_CLASS}" ""
    ReadRegStr $R1 HKCR "${FOLDER_HANDLER_CLASS}" ""
    ${If} $R0 == ""
    ${AndIf} $R1 == ""
      !insertmacro UnselectSection ${SecShellMenu}
    ${EndIf}
  ${EndIf}
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

; Copies still in use that nothing was set to remove: named, with where they are, and the exit
; code stays that of a completed run.
!macro TellLeftInPlace TEXT
  ${If} $LeftInPlace != ""
    MessageBox MB_OK|MB_ICONINFORMATION "${TEXT}$\n$LeftInPlace$\n$\nDelete it once no program uses it any more; the next setup or uninstall also removes it." /SD IDOK
  ${EndIf}
!macroend

; The last page starts the launcher when asked; a silent run, which shows no page, starts it when
; told to or when it ended a running one.
Function .onInstSuccess
  ${If} ${Silent}
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/RUN" $R1
    ${IfNot} ${Errors}
    ${OrIf} $LauncherEnded == 1
      Call StartLauncher
    ${EndIf}
  ${EndIf}
  !insertmacro TellRestartCompletes "Another program still uses a file of the earlier version. The new version is in place; restart Windows to complete the update."
  !insertmacro TellLeftInPlace "The new version is in place. Another program still uses this file of the earlier version, so it was left in the program folder:"
FunctionEnd

Function un.onUninstSuccess
  !insertmacro TellRestartCompletes "Another program still uses a file of ${PRODUCT}. Restart Windows to complete the removal."
  !insertmacro TellLeftInPlace "${PRODUCT} is removed. Another program still uses this file of it, so it was left, and with it the program folder:"
FunctionEnd

; Started on a folder without the program (_?= naming another one), the uninstaller changes
; nothing: removing the user's settings for an installation that is still elsewhere, or files
; of that name in a folder of someone else's, would be wrong either way.
Function un.onInit
  ${IfNot} ${FileExists} "$INSTDIR\${EXE}"
  ${AndIfNot} ${FileExists} "$INSTDIR\QuenvidTools.dll"
  ${AndIfNot} ${FileExists} "$INSTDIR\QuenvidExtension.dll"
  ${AndIfNot} ${FileExists} "$INSTDIR\LHLConfigDelPersonalData.exe"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$INSTDIR holds no installation of ${PRODUCT}, so nothing was changed." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

; A key of the user's that has neither values nor keys of its own goes; any other stays. (NSIS's
; own DeleteRegKey /ifempty looks only for sub-keys and would take a key that holds values.)
!macro DeleteKeyIfEmpty KEY
  System::Call 'shlwapi::SHDeleteEmptyKeyW(p ${HKCU_HANDLE}, w "${KEY}") i'
!macroend

!macro DeleteEmptyHandlerParents ROOT PARENT
  System::Call 'shlwapi::SHDeleteEmptyKeyW(p ${ROOT}, w "${PARENT}\shellex\ContextMenuHandlers") i'
  System::Call 'shlwapi::SHDeleteEmptyKeyW(p ${ROOT}, w "${PARENT}\shellex") i'
  System::Call 'shlwapi::SHDeleteEmptyKeyW(p ${ROOT}, w "${PARENT}") i'
!macroend

; The handler keys wherever they are: in the user's classes, and in the machine's where a setup
; run with a full administrator token let the registration put them (without that token the
; machine's keys cannot be deleted, and stay as they are).
!macro DeleteHandlerKeys
  DeleteRegKey HKCU "${FILE_HANDLER}"
  DeleteRegKey HKCU "${FOLDER_HANDLER}"
  DeleteRegKey HKLM "${FILE_HANDLER}"
  DeleteRegKey HKLM "${FOLDER_HANDLER}"
  ; The keys above them were made for the handlers on a profile that had none; empty, they go.
  !insertmacro DeleteEmptyHandlerParents ${HKCU_HANDLE} "Software\Classes\*"
  !insertmacro DeleteEmptyHandlerParents ${HKCU_HANDLE} "Software\Classes\Directory"
  !insertmacro DeleteEmptyHandlerParents ${HKLM_HANDLE} "Software\Classes\*"
  !insertmacro DeleteEmptyHandlerParents ${HKLM_HANDLE} "Software\Classes\Directory"
!macroend

Section "Uninstall"
  !insertmacro EndRunningLauncher "the uninstall"
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u /n /i:user "$INSTDIR\QuenvidExtension.dll"'
  !insertmacro DeleteHandlerKeys
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
  StrCpy $R6 ""
  !insertmacro RemoveLibrary QuenvidTools.dll
  StrCpy $ToolsAside $R1
  !insertmacro RemoveLibrary QuenvidExtension.dll
  StrCpy $ExtensionAside $R1
  ${If} $ToolsAside == "?"
    StrCpy $ToolsAside ""
  ${EndIf}
  ${If} $ExtensionAside == "?"
    StrCpy $ExtensionAside ""
  ${EndIf}
  !insertmacro DeleteAsideCopies
  Delete "$INSTDIR\QuenvidTools.dll.new"
  Delete "$INSTDIR\QuenvidExtension.dll.new"
  !insertmacro ForEachProgramFile RemoveProgramFile
  !insertmacro ForEachProgramFile DropFileAside
  ; The hand-off file a second start leaves beside the program.
  Delete "$INSTDIR\tmp_swap.dat"
  Delete "$INSTDIR\Uninstall.exe"
  ; Each folder only when nothing else is in it: another program's files there stay, and so
  ; does the folder.
  RMDir "$INSTDIR\Lang"
  RMDir "$INSTDIR\Sounds"
  RMDir "$INSTDIR\Images"
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
