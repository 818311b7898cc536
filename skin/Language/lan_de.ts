<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="main_title">
        <source>Q407</source>
        <translation>Q407</translation>
    </message>
    <message id="menu_show">
        <source>Show window</source>
        <translation>Fenster anzeigen</translation>
    </message>
    <message id="menu_exit">
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message id="no_device_text">
        <source>No device found. Please connect a device.</source>
        <translation>Kein Gerät gefunden. Bitte schließen Sie ein Gerät an.</translation>
    </message>
    <message id="control_light_on">
        <source>Controlling lights</source>
        <translation>Beleuchtung wird gesteuert</translation>
    </message>
    <message id="control_light_off">
        <source>Not controlling lights</source>
        <translation>Beleuchtung nicht gesteuert</translation>
    </message>
    <message id="msg_title">
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message id="msg_confirm">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="msg_cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="setting_progress_text">
        <source>Applying settings…</source>
        <translation>Einstellungen werden übernommen…</translation>
    </message>
    <message id="device_name">
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message id="device_wireless">
        <source>Wireless</source>
        <translation>Kabellos</translation>
    </message>
    <message id="device_wired">
        <source>Wired</source>
        <translation>Kabel</translation>
    </message>
    <message id="device_offline">
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message id="page_title_mouse">
        <source>Mouse</source>
        <translation>Maus</translation>
    </message>
    <message id="page_title_keyboard">
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message id="page_title_mousepad">
        <source>Mouse pad</source>
        <translation>Mauspad</translation>
    </message>
    <message id="page_title_headset">
        <source>Headset</source>
        <translation>Headset</translation>
    </message>
    <message id="setwnd_title">
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message id="update_tishi_text">
        <source>Keep your devices and Q407 up to date.</source>
        <translation>Halten Sie Ihre Geräte und Q407 aktuell.</translation>
    </message>
    <message id="update_tishi_btn">
        <source>Got it</source>
        <translation>Verstanden</translation>
    </message>
    <message id="language_label_text">
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message id="update_name_head">
        <source>Component</source>
        <translation>Komponente</translation>
    </message>
    <message id="update_old_head">
        <source>Installed</source>
        <translation>Installiert</translation>
    </message>
    <message id="update_new_head">
        <source>Newest</source>
        <translation>Neueste</translation>
    </message>
    <message id="update_state_head">
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message id="update_now_text">
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message id="update_confirm_text">
        <source>Update the ticked components now? Keep the devices connected until the update has finished.</source>
        <translation>Die markierten Komponenten jetzt aktualisieren? Lassen Sie die Geräte bis zum Ende der Aktualisierung angeschlossen.</translation>
    </message>
    <message id="update_later_text">
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message id="update_ok_text">
        <source>Update now</source>
        <translation>Jetzt aktualisieren</translation>
    </message>
    <message id="update_failed_text">
        <source>Update failed!</source>
        <translation>Aktualisierung fehlgeschlagen!</translation>
    </message>
    <message id="GetUpdateInfoText">
        <source>Checking for updates…</source>
        <translation>Suche nach Aktualisierungen…</translation>
    </message>
    <message id="HaveUpdateInfoText">
        <source>Updates are available</source>
        <translation>Aktualisierungen verfügbar</translation>
    </message>
    <message id="NoUpdateInfoText">
        <source>No update information (no connection to the update server)</source>
        <translation>Keine Aktualisierungsinformationen (keine Verbindung zum Aktualisierungsserver)</translation>
    </message>
    <message id="ISUpdateINGText">
        <source>Updating…</source>
        <translation>Wird aktualisiert…</translation>
    </message>
    <message id="UpdateOkText">
        <source>Up to date</source>
        <translation>Aktuell</translation>
    </message>
    <message id="LessUpdateText">
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message id="NeedUpdateText">
        <source>Update available</source>
        <translation>Neue Version</translation>
    </message>
    <message id="DownloadWaitText">
        <source>Waiting for download</source>
        <translation>Wartet auf Download</translation>
    </message>
    <message id="DownloadIngText">
        <source>Downloading</source>
        <translation>Wird geladen</translation>
    </message>
    <message id="DownloadOkText">
        <source>Downloaded</source>
        <translation>Geladen</translation>
    </message>
    <message id="UpdateIngText">
        <source>Installing</source>
        <translation>Wird installiert</translation>
    </message>
    <message id="UpdateFailText">
        <source>Update failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message id="tips_text">
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message id="message_text_30">
        <source>The firmware of this mouse is too old to be set up. Upgrade it now? Without the upgrade the program ends.</source>
        <translation>Die Firmware dieser Maus ist zu alt, um sie einzustellen. Jetzt aktualisieren? Ohne Aktualisierung wird das Programm beendet.</translation>
    </message>
    <message id="device_name_mouse">
        <source>Mouse</source>
        <translation>Maus</translation>
    </message>
    <message id="device_name_keyboard">
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message id="device_name_MousePad">
        <source>Mouse pad</source>
        <translation>Mauspad</translation>
    </message>
    <message id="device_name_HD">
        <source>Headset</source>
        <translation>Headset</translation>
    </message>
    <message id="light_panel_title_text">
        <source>Lighting effect</source>
        <translation>Lichteffekt</translation>
    </message>
    <message id="light_same_mode_text">
        <source>Apply to all devices</source>
        <translation>Auf alle Geräte anwenden</translation>
    </message>
    <message id="light_mode_text">
        <source>Effect</source>
        <translation>Effekt</translation>
    </message>
    <message id="light_zzcc_mode_text">
        <source>Trigger</source>
        <translation>Auslöser</translation>
    </message>
    <message id="light_zzcc_mode_0">
        <source>Single key</source>
        <translation>Einzeltaste</translation>
    </message>
    <message id="light_zzcc_mode_1">
        <source>Ripple</source>
        <translation>Ringwelle</translation>
    </message>
    <message id="light_zzcc_mode_2">
        <source>Row</source>
        <translation>Reihe</translation>
    </message>
    <message id="light_zzcc_mode_3">
        <source>Cross</source>
        <translation>Kreuz</translation>
    </message>
    <message id="light_custom_group_text">
        <source>Custom set</source>
        <translation>Eigener Satz</translation>
    </message>
    <message id="light_custom_group_1">
        <source>Set 1</source>
        <translation>Satz 1</translation>
    </message>
    <message id="light_custom_group_2">
        <source>Set 2</source>
        <translation>Satz 2</translation>
    </message>
    <message id="light_custom_group_3">
        <source>Set 3</source>
        <translation>Satz 3</translation>
    </message>
    <message id="light_custom_group_4">
        <source>Set 4</source>
        <translation>Satz 4</translation>
    </message>
    <message id="light_custom_group_5">
        <source>Set 5</source>
        <translation>Satz 5</translation>
    </message>
    <message id="light_custom_fill_text">
        <source>Fill all keys</source>
        <translation>Alle Tasten füllen</translation>
    </message>
    <message id="light_custom_clear_text">
        <source>Turn all off</source>
        <translation>Alle ausschalten</translation>
    </message>
    <message id="light_audio_mode_text">
        <source>Music style</source>
        <translation>Musikstil</translation>
    </message>
    <message id="light_brightness_text">
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message id="light_speed_text">
        <source>Speed</source>
        <translation>Tempo</translation>
    </message>
    <message id="light_direction_text">
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message id="light_set_right_to_left_text">
        <source>Right to left</source>
        <translation>Rechts nach links</translation>
    </message>
    <message id="light_set_left_to_right_text">
        <source>Left to right</source>
        <translation>Links nach rechts</translation>
    </message>
    <message id="light_set_clockwise_text">
        <source>Clockwise</source>
        <translation>Im Uhrzeigersinn</translation>
    </message>
    <message id="light_set_anticlockwise_text">
        <source>Anticlockwise</source>
        <translation>Gegen Uhrzeigersinn</translation>
    </message>
    <message id="light_set_down_to_up_text">
        <source>Bottom to top</source>
        <translation>Unten nach oben</translation>
    </message>
    <message id="light_set_up_to_down_text">
        <source>Top to bottom</source>
        <translation>Oben nach unten</translation>
    </message>
    <message id="light_set_outside_to_inside_text">
        <source>Outside in</source>
        <translation>Außen nach innen</translation>
    </message>
    <message id="light_set_inside_to_outside_text">
        <source>Inside out</source>
        <translation>Innen nach außen</translation>
    </message>
    <message id="light_colour_title_text">
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message id="light_multi_colour_text">
        <source>Multi-colour</source>
        <translation>Mehrfarbig</translation>
    </message>
    <message id="light_colour_r_text">
        <source>R</source>
        <translation>R</translation>
    </message>
    <message id="light_colour_g_text">
        <source>G</source>
        <translation>G</translation>
    </message>
    <message id="light_colour_b_text">
        <source>B</source>
        <translation>B</translation>
    </message>
    <message id="light_audio_colour_text">
        <source>The colours follow the music style.</source>
        <translation>Die Farben folgen dem Musikstil.</translation>
    </message>
    <message id="profile_caption_text">
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message id="profile_rename_text">
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message id="profile_manage_text">
        <source>Manage…</source>
        <translation>Verwalten…</translation>
    </message>
    <message id="profile_new_text">
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message id="profile_copy_text">
        <source>Duplicate</source>
        <translation>Duplizieren</translation>
    </message>
    <message id="profile_delete_text">
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message id="profile_import_text">
        <source>Import…</source>
        <translation>Importieren…</translation>
    </message>
    <message id="profile_export_text">
        <source>Export…</source>
        <translation>Exportieren…</translation>
    </message>
    <message id="profile_reset_text">
        <source>Restore defaults</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message id="feature_tab_lighting">
        <source>Lighting</source>
        <translation>Beleuchtung</translation>
    </message>
    <message id="feature_tab_keys">
        <source>Buttons</source>
        <translation>Tasten</translation>
    </message>
    <message id="feature_tab_macros">
        <source>Macros</source>
        <translation>Makros</translation>
    </message>
    <message id="feature_tab_system">
        <source>Performance</source>
        <translation>Leistung</translation>
    </message>
    <message id="feature_tab_cursor">
        <source>Pointer</source>
        <translation>Zeiger</translation>
    </message>
    <message id="feature_tab_audio">
        <source>Sound</source>
        <translation>Klang</translation>
    </message>
    <message id="feature_tab_voice">
        <source>Voice changer</source>
        <translation>Stimmwandler</translation>
    </message>
    <message id="feature_tab_virtual71">
        <source>Virtual 7.1</source>
        <translation>Virtuelles 7.1</translation>
    </message>
    <message id="feature_tab_about">
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message id="page_title_mouse_b">
        <source>Wireless mouse</source>
        <translation>Kabellose Maus</translation>
    </message>
    <message id="dpi_stages_title">
        <source>DPI stages</source>
        <translation>DPI-Stufen</translation>
    </message>
    <message id="dpi_stage_1">
        <source>Stage 1</source>
        <translation>Stufe 1</translation>
    </message>
    <message id="dpi_stage_2">
        <source>Stage 2</source>
        <translation>Stufe 2</translation>
    </message>
    <message id="dpi_stage_3">
        <source>Stage 3</source>
        <translation>Stufe 3</translation>
    </message>
    <message id="dpi_stage_4">
        <source>Stage 4</source>
        <translation>Stufe 4</translation>
    </message>
    <message id="dpi_stage_5">
        <source>Stage 5</source>
        <translation>Stufe 5</translation>
    </message>
    <message id="dpi_stage_6">
        <source>Stage 6</source>
        <translation>Stufe 6</translation>
    </message>
    <message id="dpi_enable_tip">
        <source>Use this stage</source>
        <translation>Diese Stufe verwenden</translation>
    </message>
    <message id="dpi_colour_tip">
        <source>Stage colour</source>
        <translation>Farbe der Stufe</translation>
    </message>
    <message id="dpi_hint_text">
        <source>Drag a slider or type a value from 50 to 26000 DPI; values are rounded up to a multiple of 50. The selected stage is the one the mouse uses now.</source>
        <translation>Schieberegler ziehen oder einen Wert von 50 bis 26000 DPI eingeben; Werte werden auf ein Vielfaches von 50 aufgerundet. Die gewählte Stufe ist die, die die Maus gerade nutzt.</translation>
    </message>
    <message id="report_rate_title">
        <source>Report rate</source>
        <translation>Abfragerate</translation>
    </message>
    <message id="report_rate_label">
        <source>Rate (Hz)</source>
        <translation>Rate (Hz)</translation>
    </message>
    <message id="rate_125">
        <source>125</source>
        <translation>125</translation>
    </message>
    <message id="rate_250">
        <source>250</source>
        <translation>250</translation>
    </message>
    <message id="rate_500">
        <source>500</source>
        <translation>500</translation>
    </message>
    <message id="rate_1000">
        <source>1000</source>
        <translation>1000</translation>
    </message>
    <message id="rate_2000">
        <source>2000</source>
        <translation>2000</translation>
    </message>
    <message id="rate_4000">
        <source>4000</source>
        <translation>4000</translation>
    </message>
    <message id="sensor_title">
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message id="lift_off_label">
        <source>Lift-off distance</source>
        <translation>Abhebehöhe</translation>
    </message>
    <message id="lift_low">
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message id="lift_mid">
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message id="lift_high">
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message id="motion_sync_label">
        <source>Motion sync</source>
        <translation>Motion Sync</translation>
    </message>
    <message id="angle_snap_label">
        <source>Angle snapping</source>
        <translation>Winkelkorrektur</translation>
    </message>
    <message id="sensor_lift_label">
        <source>Lift cut-off</source>
        <translation>Abhebestopp</translation>
    </message>
    <message id="switch_off">
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message id="switch_on">
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message id="power_title">
        <source>Power</source>
        <translation>Energie</translation>
    </message>
    <message id="dormancy_label">
        <source>Sleep after</source>
        <translation>Ruhe nach</translation>
    </message>
    <message id="deep_sleep_label">
        <source>Deep sleep</source>
        <translation>Tiefschlaf</translation>
    </message>
    <message id="button_title">
        <source>Buttons</source>
        <translation>Tasten</translation>
    </message>
    <message id="debounce_label">
        <source>Debounce time</source>
        <translation>Entprellzeit</translation>
    </message>
    <message id="anti_shake_label">
        <source>Anti-shake</source>
        <translation>Zitterschutz</translation>
    </message>
    <message id="anti_shake_off">
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message id="anti_shake_low">
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message id="anti_shake_mid">
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message id="anti_shake_high">
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message id="settings_tab_dpi">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="settings_tab_performance">
        <source>Performance</source>
        <translation>Leistung</translation>
    </message>
    <message id="settings_tab_power">
        <source>Power and buttons</source>
        <translation>Energie und Tasten</translation>
    </message>
    <message id="pointer_title">
        <source>Pointer and wheel</source>
        <translation>Zeiger und Mausrad</translation>
    </message>
    <message id="pointer_speed_label">
        <source>Pointer speed</source>
        <translation>Zeigertempo</translation>
    </message>
    <message id="pointer_precision_label">
        <source>Precision</source>
        <translation>Präzision</translation>
    </message>
    <message id="pointer_precision_text">
        <source>Enhance pointer precision</source>
        <translation>Zeigerpräzision erhöhen</translation>
    </message>
    <message id="scroll_speed_label">
        <source>Wheel lines</source>
        <translation>Scrollzeilen</translation>
    </message>
    <message id="scroll_page_label">
        <source>Scrolling</source>
        <translation>Bildlauf</translation>
    </message>
    <message id="scroll_page_text">
        <source>Scroll one page at a time</source>
        <translation>Seitenweise blättern</translation>
    </message>
    <message id="double_click_label">
        <source>Double-click time</source>
        <translation>Doppelklickzeit</translation>
    </message>
    <message id="open_desktop_mouse_settings">
        <source>Open the desktop's mouse settings</source>
        <translation>Mauseinstellungen des Desktops öffnen</translation>
    </message>
    <message id="pointer_hint_text">
        <source>These values are kept in the profile. Applying them to the desktop comes in a later version; use the desktop's own settings meanwhile.</source>
        <translation>Diese Werte werden im Profil gespeichert. Die Übernahme in den Desktop folgt in einer späteren Version; nutzen Sie bis dahin die Einstellungen des Desktops.</translation>
    </message>
    <message id="about_title">
        <source>About this device</source>
        <translation>Über dieses Gerät</translation>
    </message>
    <message id="about_product_label">
        <source>Product</source>
        <translation>Produkt</translation>
    </message>
    <message id="about_connection_label">
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message id="about_firmware_label">
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message id="about_sensor_label">
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message id="connection_receiver">
        <source>2.4 GHz receiver</source>
        <translation>2,4-GHz-Empfänger</translation>
    </message>
    <message id="connection_cable">
        <source>Cable</source>
        <translation>Kabel</translation>
    </message>
    <message id="feature_not_on_mouse">
        <source>This mouse has no such function.</source>
        <translation>Diese Maus hat diese Funktion nicht.</translation>
    </message>
    <message id="key_name_left">
        <source>Left button</source>
        <translation>Linke Taste</translation>
    </message>
    <message id="key_name_right">
        <source>Right button</source>
        <translation>Rechte Taste</translation>
    </message>
    <message id="key_name_wheel">
        <source>Wheel button</source>
        <translation>Mausradtaste</translation>
    </message>
    <message id="key_name_forward">
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message id="key_name_back">
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message id="key_name_dpi">
        <source>DPI up</source>
        <translation>DPI hoch</translation>
    </message>
    <message id="key_name_dpi_down">
        <source>DPI down</source>
        <translation>DPI runter</translation>
    </message>
    <message id="key_name_side3">
        <source>Side button 3</source>
        <translation>Seitentaste 3</translation>
    </message>
    <message id="key_name_side4">
        <source>Side button 4</source>
        <translation>Seitentaste 4</translation>
    </message>
    <message id="key_name_wheel_up">
        <source>Wheel up</source>
        <translation>Mausrad hoch</translation>
    </message>
    <message id="key_name_wheel_down">
        <source>Wheel down</source>
        <translation>Mausrad runter</translation>
    </message>
    <message id="unit_ms">
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message id="unit_minutes">
        <source>min</source>
        <translation>Min.</translation>
    </message>
    <message id="mouse_not_connected">
        <source>Connect the mouse to change its settings.</source>
        <translation>Schließen Sie die Maus an, um sie einzustellen.</translation>
    </message>
    <message id="message_text_5">
        <source>This name is already in use.</source>
        <translation>Dieser Name ist bereits vergeben.</translation>
    </message>
    <message id="message_text_7">
        <source>The device did not take the profile. Check its connection.</source>
        <translation>Das Gerät hat das Profil nicht übernommen. Prüfen Sie die Verbindung.</translation>
    </message>
    <message id="message_text_16">
        <source>The macros need more memory than the device has: shorten them by about %d events.</source>
        <translation>Die Makros brauchen mehr Speicher, als das Gerät hat: etwa %d Ereignisse kürzen.</translation>
    </message>
    <message id="message_text_22">
        <source>Return this profile to the default settings?</source>
        <translation>Dieses Profil auf die Standardeinstellungen zurücksetzen?</translation>
    </message>
    <message id="message_text_25">
        <source>The profile name cannot be empty.</source>
        <translation>Der Profilname darf nicht leer sein.</translation>
    </message>
    <message id="message_text_26">
        <source>Copy the current profile?</source>
        <translation>Das aktuelle Profil kopieren?</translation>
    </message>
    <message id="message_text_27">
        <source>Add a new profile?</source>
        <translation>Ein neues Profil anlegen?</translation>
    </message>
    <message id="message_text_29">
        <source>Delete the current profile?</source>
        <translation>Das aktuelle Profil löschen?</translation>
    </message>
    <message id="profile_import_filter">
        <source>Profile Files(*.json)</source>
        <translation>Profildateien (*.json)</translation>
    </message>
    <message id="light_mode_0">
        <source>Marquee</source>
        <translation>Lauflicht</translation>
    </message>
    <message id="light_mode_1">
        <source>Spectrum cycle</source>
        <translation>Farbspektrum</translation>
    </message>
    <message id="light_mode_2">
        <source>Breathing</source>
        <translation>Atmen</translation>
    </message>
    <message id="light_mode_3">
        <source>Steady</source>
        <translation>Dauerlicht</translation>
    </message>
    <message id="light_mode_4">
        <source>Blink</source>
        <translation>Blinken</translation>
    </message>
    <message id="light_mode_5">
        <source>Wave</source>
        <translation>Welle</translation>
    </message>
    <message id="light_mode_6">
        <source>Reactive</source>
        <translation>Reaktiv</translation>
    </message>
    <message id="light_mode_7">
        <source>Breathing, fixed colours</source>
        <translation>Atmen, feste Farben</translation>
    </message>
    <message id="light_mode_8">
        <source>Blink, fixed colours</source>
        <translation>Blinken, feste Farben</translation>
    </message>
    <message id="light_mode_9">
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message id="light_mode_10">
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message id="light_mode_11">
        <source>Reserved</source>
        <translation>Reserviert</translation>
    </message>
    <message id="light_area_0">
        <source>Whole mouse</source>
        <translation>Ganze Maus</translation>
    </message>
    <message id="light_area_1">
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message id="restore_defaults_text">
        <source>Restore defaults</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message id="tip_close">
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message id="tip_minimise">
        <source>Minimise</source>
        <translation>Minimieren</translation>
    </message>
    <message id="tip_maximise">
        <source>Maximise</source>
        <translation>Maximieren</translation>
    </message>
    <message id="tip_restore">
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message id="tip_settings">
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message id="tip_skin">
        <source>Skin</source>
        <translation>Design</translation>
    </message>
    <message id="tip_cloud">
        <source>Cloud</source>
        <translation>Cloud</translation>
    </message>
    <message id="tip_game_mode">
        <source>Game mode</source>
        <translation>Spielmodus</translation>
    </message>
    <message id="tip_smart_eyes">
        <source>Eye care</source>
        <translation>Augenschutz</translation>
    </message>
    <message id="tip_menu">
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message id="tip_home_page">
        <source>Home page</source>
        <translation>Startseite</translation>
    </message>
    <message id="language_name_cn">
        <source>简体中文</source>
        <translation>简体中文</translation>
    </message>
    <message id="language_name_en">
        <source>English</source>
        <translation>English</translation>
    </message>
    <message id="language_name_tw">
        <source>繁體中文</source>
        <translation>繁體中文</translation>
    </message>
    <message id="language_name_de">
        <source>Deutsch</source>
        <translation>Deutsch</translation>
    </message>
    <message id="light_mode_chase">
        <source>Chase</source>
        <translation>Lauflicht</translation>
    </message>
    <message id="Phone_type_no_device">
        <source>No phone on the charger</source>
        <translation>Kein Telefon auf dem Ladegerät</translation>
    </message>
    <message id="Phone_type_iphone">
        <source>Phone (type 1) charging</source>
        <translation>Telefon (Typ 1) wird geladen</translation>
    </message>
    <message id="Phone_type_samsung">
        <source>Phone (type 2) charging</source>
        <translation>Telefon (Typ 2) wird geladen</translation>
    </message>
    <message id="Phone_type_other">
        <source>Phone charging</source>
        <translation>Telefon wird geladen</translation>
    </message>
    <message id="eq_title">
        <source>Equaliser</source>
        <translation>Equalizer</translation>
    </message>
    <message id="eq_preset_1">
        <source>Music</source>
        <translation>Musik</translation>
    </message>
    <message id="eq_preset_2">
        <source>Game</source>
        <translation>Spiel</translation>
    </message>
    <message id="eq_preset_3">
        <source>Bass</source>
        <translation>Bass</translation>
    </message>
    <message id="eq_preset_4">
        <source>Treble</source>
        <translation>Höhen</translation>
    </message>
    <message id="eq_preset_5">
        <source>Flat</source>
        <translation>Linear</translation>
    </message>
    <message id="eq_preset_6">
        <source>Electronic</source>
        <translation>Elektro</translation>
    </message>
    <message id="eq_preset_7">
        <source>Warm</source>
        <translation>Warm</translation>
    </message>
    <message id="eq_preset_8">
        <source>Bright</source>
        <translation>Hell</translation>
    </message>
    <message id="eq_preset_9">
        <source>Detail</source>
        <translation>Detail</translation>
    </message>
    <message id="eq_preset_10">
        <source>Rock</source>
        <translation>Rock</translation>
    </message>
    <message id="eq_preset_11">
        <source>Hip-hop</source>
        <translation>Hip-Hop</translation>
    </message>
    <message id="eq_preset_12">
        <source>Footsteps</source>
        <translation>Schritte</translation>
    </message>
    <message id="eq_preset_custom">
        <source>Custom</source>
        <translation>Eigene</translation>
    </message>
    <message id="eq_custom_label">
        <source>My curves</source>
        <translation>Eigene Kurven</translation>
    </message>
    <message id="eq_name_hint">
        <source>Name of a new curve</source>
        <translation>Name der neuen Kurve</translation>
    </message>
    <message id="eq_save_text">
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message id="eq_delete_text">
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message id="microphone_title">
        <source>Microphone</source>
        <translation>Mikrofon</translation>
    </message>
    <message id="mic_label">
        <source>Microphone</source>
        <translation>Mikrofon</translation>
    </message>
    <message id="mic_on_text">
        <source>On</source>
        <translation>An</translation>
    </message>
    <message id="monitor_label">
        <source>Hear myself</source>
        <translation>Mithören</translation>
    </message>
    <message id="monitor_on_text">
        <source>On</source>
        <translation>An</translation>
    </message>
    <message id="voice_changer_title">
        <source>Voice changer</source>
        <translation>Stimmverzerrer</translation>
    </message>
    <message id="voice_changer_on">
        <source>Voice changer on</source>
        <translation>Stimmverzerrer an</translation>
    </message>
    <message id="magic_voice_1">
        <source>Male</source>
        <translation>Männlich</translation>
    </message>
    <message id="magic_voice_2">
        <source>Female</source>
        <translation>Weiblich</translation>
    </message>
    <message id="magic_voice_3">
        <source>Monster</source>
        <translation>Monster</translation>
    </message>
    <message id="magic_voice_4">
        <source>Cartoon</source>
        <translation>Comic</translation>
    </message>
    <message id="virtual_surround_pending">
        <source>Virtual 7.1 surround is not part of this version.</source>
        <translation>Virtueller 7.1-Raumklang ist in dieser Version nicht enthalten.</translation>
    </message>
    <message id="about_sound_card_label">
        <source>Sound card</source>
        <translation>Soundkarte</translation>
    </message>
    <message id="sound_card_found">
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message id="sound_card_missing">
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message id="folder_unwritable_text">
        <source>Q407 cannot save files in %1 (%2). Changes are kept only until the program ends. Free some disk space or allow writing to this folder.</source>
        <translation>Q407 kann in %1 keine Dateien speichern (%2). Änderungen bleiben nur bis zum Programmende erhalten. Geben Sie Speicherplatz frei oder erlauben Sie das Schreiben in diesen Ordner.</translation>
    </message>
    <message id="bullet_caption_text">
        <source>Bullet</source>
        <translation>Schuss</translation>
    </message>
    <message id="bullet_delay_label">
        <source>Delay</source>
        <translation>Pause</translation>
    </message>
    <message id="bullet_limit_hint_text">
        <source>Distances up to 255, delays up to 65535 ms: larger values are held at these limits.</source>
        <translation>Strecken bis 255, Pausen bis 65535 ms: größere Werte werden auf diese Grenzen gesetzt.</translation>
    </message>
    <message id="bullet_next_text">
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message id="bullet_prev_text">
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message id="bullet_x_label">
        <source>Sideways</source>
        <translation>Seitlich</translation>
    </message>
    <message id="bullet_y_label">
        <source>Vertical</source>
        <translation>Senkrecht</translation>
    </message>
    <message id="shoot_write_failed_text">
        <source>The mouse did not take the recoil tables. Check its connection.</source>
        <translation>Die Maus hat die Rückstoßtabellen nicht übernommen. Bitte die Verbindung prüfen.</translation>
    </message>
    <message id="Key_Set">
        <source>Assigned:</source>
        <translation>Belegung:</translation>
    </message>
    <message id="custem_copy">
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message id="custem_cut">
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message id="custem_find">
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message id="custem_magnify">
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message id="custem_narrow">
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message id="custem_new">
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message id="custem_open">
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message id="custem_paste">
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message id="custem_save">
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message id="custem_select_all">
        <source>Select all</source>
        <translation>Alles markieren</translation>
    </message>
    <message id="custem_undo">
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message id="key_panel_keys">
        <source>Key functions</source>
        <translation>Tastenfunktionen</translation>
    </message>
    <message id="key_panel_recoil">
        <source>Recoil</source>
        <translation>Rückstoß</translation>
    </message>
    <message id="keyboard_key_&lt;">
        <source>,</source>
        <translation>,</translation>
    </message>
    <message id="keyboard_key_Browaer Home">
        <source>Browser home</source>
        <translation>Browser-Start</translation>
    </message>
    <message id="keyboard_key_Browser Back">
        <source>Browser back</source>
        <translation>Browser zurück</translation>
    </message>
    <message id="keyboard_key_Browser Favorites">
        <source>Favourites</source>
        <translation>Favoriten</translation>
    </message>
    <message id="keyboard_key_Browser ForWard">
        <source>Browser forward</source>
        <translation>Browser vor</translation>
    </message>
    <message id="keyboard_key_Browser Refresh">
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message id="keyboard_key_Browser Search">
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message id="keyboard_key_Computer">
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message id="keyboard_key_Launch App2">
        <source>Calculator</source>
        <translation>Rechner</translation>
    </message>
    <message id="keyboard_key_Launch Mail">
        <source>Mail</source>
        <translation>E-Mail</translation>
    </message>
    <message id="keyboard_key_Launch Media Select">
        <source>Media player</source>
        <translation>Medienplayer</translation>
    </message>
    <message id="keyboard_key_Media Next Track">
        <source>Next track</source>
        <translation>Nächster Titel</translation>
    </message>
    <message id="keyboard_key_Media Play Pause">
        <source>Play/Pause</source>
        <translation>Wiedergabe/Pause</translation>
    </message>
    <message id="keyboard_key_Media Prev Track">
        <source>Previous track</source>
        <translation>Vorheriger Titel</translation>
    </message>
    <message id="keyboard_key_Media Stop">
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message id="keyboard_key_Power">
        <source>Power</source>
        <translation>Ein/Aus</translation>
    </message>
    <message id="keyboard_key_Sleep">
        <source>Sleep</source>
        <translation>Ruhezustand</translation>
    </message>
    <message id="keyboard_key_Volume Down">
        <source>Volume down</source>
        <translation>Leiser</translation>
    </message>
    <message id="keyboard_key_Volume Mute">
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message id="keyboard_key_Volume Up">
        <source>Volume up</source>
        <translation>Lauter</translation>
    </message>
    <message id="keyboard_key_Wakeup">
        <source>Wake up</source>
        <translation>Aufwecken</translation>
    </message>
    <message id="keyset_button_label">
        <source>Button</source>
        <translation>Taste</translation>
    </message>
    <message id="keyset_cancel_text">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="keyset_count_label">
        <source>Count</source>
        <translation>Anzahl</translation>
    </message>
    <message id="keyset_default_hint_text">
        <source>The key does what it did from the factory.</source>
        <translation>Die Taste hat ihre Werksfunktion.</translation>
    </message>
    <message id="keyset_default_text">
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message id="keyset_delay_label">
        <source>Delay</source>
        <translation>Pause</translation>
    </message>
    <message id="keyset_direction_label">
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message id="keyset_dpi_label">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="keyset_function_0">
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message id="keyset_function_1">
        <source>Mouse button</source>
        <translation>Maustaste</translation>
    </message>
    <message id="keyset_function_2">
        <source>Pointer swing</source>
        <translation>Zeigerschwenk</translation>
    </message>
    <message id="keyset_function_3">
        <source>Wheel</source>
        <translation>Mausrad</translation>
    </message>
    <message id="keyset_function_4">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="keyset_function_5">
        <source>Fire</source>
        <translation>Dauerfeuer</translation>
    </message>
    <message id="keyset_function_6">
        <source>Keyboard key</source>
        <translation>Tastaturtaste</translation>
    </message>
    <message id="keyset_function_7">
        <source>Media</source>
        <translation>Medien</translation>
    </message>
    <message id="keyset_function_8">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="keyset_function_9">
        <source>Macro</source>
        <translation>Makro</translation>
    </message>
    <message id="keyset_function_10">
        <source>Gun key</source>
        <translation>Waffentaste</translation>
    </message>
    <message id="keyset_function_11">
        <source>Shortcut</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message id="keyset_function_label">
        <source>Function</source>
        <translation>Funktion</translation>
    </message>
    <message id="keyset_gun_1">
        <source>Gun 1</source>
        <translation>Waffe 1</translation>
    </message>
    <message id="keyset_gun_2">
        <source>Gun 2</source>
        <translation>Waffe 2</translation>
    </message>
    <message id="keyset_gun_3">
        <source>Gun 3</source>
        <translation>Waffe 3</translation>
    </message>
    <message id="keyset_gun_4">
        <source>Gun 4</source>
        <translation>Waffe 4</translation>
    </message>
    <message id="keyset_gun_label">
        <source>Gun</source>
        <translation>Waffe</translation>
    </message>
    <message id="keyset_interval_label">
        <source>Interval</source>
        <translation>Abstand</translation>
    </message>
    <message id="keyset_key_label">
        <source>Key</source>
        <translation>Taste</translation>
    </message>
    <message id="keyset_keyboard_hint_text">
        <source>Click the box and press a key. Ctrl, Shift, Alt or Win first make a combination.</source>
        <translation>Ins Feld klicken und eine Taste drücken. Zuerst Strg, Umschalt, Alt oder Win ergibt eine Kombination.</translation>
    </message>
    <message id="keyset_macro_label">
        <source>Macro</source>
        <translation>Makro</translation>
    </message>
    <message id="keyset_media_label">
        <source>Media</source>
        <translation>Medien</translation>
    </message>
    <message id="keyset_modifier_0">
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message id="keyset_modifier_1">
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
    <message id="keyset_modifier_2">
        <source>Shift</source>
        <translation>Umschalt</translation>
    </message>
    <message id="keyset_modifier_3">
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message id="keyset_modifier_4">
        <source>Win</source>
        <translation>Win</translation>
    </message>
    <message id="keyset_repeat_0">
        <source>Play once</source>
        <translation>Einmal abspielen</translation>
    </message>
    <message id="keyset_repeat_1">
        <source>Repeat while held</source>
        <translation>Wiederholen solange gedrückt</translation>
    </message>
    <message id="keyset_repeat_2">
        <source>Repeat until pressed again</source>
        <translation>Wiederholen bis erneut gedrückt</translation>
    </message>
    <message id="keyset_repeat_3">
        <source>Repeat until another key</source>
        <translation>Wiederholen bis andere Taste</translation>
    </message>
    <message id="keyset_repeat_label">
        <source>Repeat</source>
        <translation>Wiederholung</translation>
    </message>
    <message id="keyset_repeat_times">
        <source>Repeat a number of times</source>
        <translation>Mehrmals abspielen</translation>
    </message>
    <message id="keyset_shortcut_label">
        <source>Shortcut</source>
        <translation>Kürzel</translation>
    </message>
    <message id="keyset_speed_label">
        <source>Speed</source>
        <translation>Tempo</translation>
    </message>
    <message id="keyset_store_text">
        <source>Store</source>
        <translation>Übernehmen</translation>
    </message>
    <message id="keyset_system_label">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="keyset_title_text">
        <source>Key function</source>
        <translation>Tastenbelegung</translation>
    </message>
    <message id="keyset_write_text">
        <source>Write to device</source>
        <translation>Auf Gerät schreiben</translation>
    </message>
    <message id="macro_action_down">
        <source>Press</source>
        <translation>Drücken</translation>
    </message>
    <message id="macro_action_edit">
        <source>Replace the key</source>
        <translation>Taste ersetzen</translation>
    </message>
    <message id="macro_action_up">
        <source>Release</source>
        <translation>Loslassen</translation>
    </message>
    <message id="macro_bottom_text">
        <source>Bottom</source>
        <translation>Ende</translation>
    </message>
    <message id="macro_cancel_text">
        <source>Reload</source>
        <translation>Verwerfen</translation>
    </message>
    <message id="macro_delete_all_text">
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message id="macro_delete_event_text">
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message id="macro_delete_text">
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message id="macro_down_text">
        <source>Down</source>
        <translation>Runter</translation>
    </message>
    <message id="macro_events_title_text">
        <source>Events</source>
        <translation>Ereignisse</translation>
    </message>
    <message id="macro_export_text">
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message id="macro_fixed_delay_text">
        <source>Fixed delay</source>
        <translation>Feste Pause</translation>
    </message>
    <message id="macro_import_text">
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message id="macro_insert_title_text">
        <source>Insert pointer move</source>
        <translation>Zeigerbewegung einfügen</translation>
    </message>
    <message id="macro_library_title_text">
        <source>Macros</source>
        <translation>Makros</translation>
    </message>
    <message id="macro_new_text">
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message id="macro_record_hint_text">
        <source>While recording, keys and clicks reach only this program. Right-click an event to record before or after it.</source>
        <translation>Während der Aufnahme erreichen Tasten und Klicks nur dieses Programm. Rechtsklick auf ein Ereignis nimmt davor oder danach auf.</translation>
    </message>
    <message id="macro_record_start_text">
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message id="macro_record_stop_text">
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message id="macro_record_title_text">
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message id="macro_rename_text">
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message id="macro_save_text">
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message id="macro_top_text">
        <source>Top</source>
        <translation>Anfang</translation>
    </message>
    <message id="macro_up_text">
        <source>Up</source>
        <translation>Hoch</translation>
    </message>
    <message id="media_calc">
        <source>Calculator</source>
        <translation>Rechner</translation>
    </message>
    <message id="media_mail">
        <source>Mail</source>
        <translation>E-Mail</translation>
    </message>
    <message id="media_mute">
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message id="media_mypc">
        <source>My computer</source>
        <translation>Arbeitsplatz</translation>
    </message>
    <message id="media_next">
        <source>Next track</source>
        <translation>Nächster Titel</translation>
    </message>
    <message id="media_play">
        <source>Play/Pause</source>
        <translation>Wiedergabe/Pause</translation>
    </message>
    <message id="media_prev">
        <source>Previous track</source>
        <translation>Vorheriger Titel</translation>
    </message>
    <message id="media_stop">
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message id="media_text">
        <source>Media player</source>
        <translation>Medienplayer</translation>
    </message>
    <message id="media_vol_add">
        <source>Volume up</source>
        <translation>Lauter</translation>
    </message>
    <message id="media_vol_sub">
        <source>Volume down</source>
        <translation>Leiser</translation>
    </message>
    <message id="menu_back_click">
        <source>Back button click</source>
        <translation>Zurück-Taste klicken</translation>
    </message>
    <message id="menu_back_down">
        <source>Back button press</source>
        <translation>Zurück-Taste drücken</translation>
    </message>
    <message id="menu_back_up">
        <source>Back button release</source>
        <translation>Zurück-Taste loslassen</translation>
    </message>
    <message id="menu_forward_click">
        <source>Forward button click</source>
        <translation>Vor-Taste klicken</translation>
    </message>
    <message id="menu_forward_down">
        <source>Forward button press</source>
        <translation>Vor-Taste drücken</translation>
    </message>
    <message id="menu_forward_up">
        <source>Forward button release</source>
        <translation>Vor-Taste loslassen</translation>
    </message>
    <message id="menu_left_click">
        <source>Left click</source>
        <translation>Linksklick</translation>
    </message>
    <message id="menu_left_down">
        <source>Left button press</source>
        <translation>Linke Taste drücken</translation>
    </message>
    <message id="menu_left_up">
        <source>Left button release</source>
        <translation>Linke Taste loslassen</translation>
    </message>
    <message id="menu_middle_click">
        <source>Middle click</source>
        <translation>Mittelklick</translation>
    </message>
    <message id="menu_middle_down">
        <source>Middle button press</source>
        <translation>Mittlere Taste drücken</translation>
    </message>
    <message id="menu_middle_up">
        <source>Middle button release</source>
        <translation>Mittlere Taste loslassen</translation>
    </message>
    <message id="menu_right_click">
        <source>Right click</source>
        <translation>Rechtsklick</translation>
    </message>
    <message id="menu_right_down">
        <source>Right button press</source>
        <translation>Rechte Taste drücken</translation>
    </message>
    <message id="menu_right_up">
        <source>Right button release</source>
        <translation>Rechte Taste loslassen</translation>
    </message>
    <message id="message_text_2">
        <source>Keys of this profile use the macro. Delete it anyway? Those keys get their default function back.</source>
        <translation>Tasten dieses Profils verwenden das Makro. Trotzdem löschen? Diese Tasten erhalten ihre Standardfunktion zurück.</translation>
    </message>
    <message id="message_text_28">
        <source>Create a new macro?</source>
        <translation>Neues Makro anlegen?</translation>
    </message>
    <message id="message_text_4">
        <source>Delete the selected macro?</source>
        <translation>Ausgewähltes Makro löschen?</translation>
    </message>
    <message id="mouse_key_DPI_add">
        <source>DPI up</source>
        <translation>DPI hoch</translation>
    </message>
    <message id="mouse_key_DPI_loop">
        <source>DPI cycle</source>
        <translation>DPI-Wechsel</translation>
    </message>
    <message id="mouse_key_DPI_shift">
        <source>DPI shift</source>
        <translation>DPI-Umschaltung</translation>
    </message>
    <message id="mouse_key_DPI_sub">
        <source>DPI down</source>
        <translation>DPI runter</translation>
    </message>
    <message id="mouse_key_back">
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message id="mouse_key_down_Swing">
        <source>Wheel down</source>
        <translation>Rad nach unten</translation>
    </message>
    <message id="mouse_key_fire_key">
        <source>Fire</source>
        <translation>Dauerfeuer</translation>
    </message>
    <message id="mouse_key_forward">
        <source>Forward</source>
        <translation>Vor</translation>
    </message>
    <message id="mouse_key_gun">
        <source>Gun key</source>
        <translation>Waffentaste</translation>
    </message>
    <message id="mouse_key_left">
        <source>Left button</source>
        <translation>Linke Taste</translation>
    </message>
    <message id="mouse_key_left_Swing">
        <source>Swing left</source>
        <translation>Schwenk links</translation>
    </message>
    <message id="mouse_key_middle">
        <source>Middle button</source>
        <translation>Mittlere Taste</translation>
    </message>
    <message id="mouse_key_right">
        <source>Right button</source>
        <translation>Rechte Taste</translation>
    </message>
    <message id="mouse_key_right_Swing">
        <source>Swing right</source>
        <translation>Schwenk rechts</translation>
    </message>
    <message id="mouse_key_shortcut_key">
        <source>Shortcut</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message id="mouse_key_smart_key">
        <source>Smart key</source>
        <translation>Smart-Taste</translation>
    </message>
    <message id="mouse_key_up_Swing">
        <source>Wheel up</source>
        <translation>Rad nach oben</translation>
    </message>
    <message id="mouse_move_to_down_text">
        <source>Down</source>
        <translation>Runter</translation>
    </message>
    <message id="mouse_move_to_left_text">
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message id="mouse_move_to_right_text">
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message id="mouse_move_to_up_text">
        <source>Up</source>
        <translation>Hoch</translation>
    </message>
    <message id="redio_later_constant_time">
        <source>Record after it, fixed delay</source>
        <translation>Danach aufnehmen, feste Pause</translation>
    </message>
    <message id="redio_later_ignore_time">
        <source>Record after it, no delay</source>
        <translation>Danach aufnehmen, ohne Pause</translation>
    </message>
    <message id="redio_later_record_time">
        <source>Record after it</source>
        <translation>Danach aufnehmen</translation>
    </message>
    <message id="redio_previous_constant_time">
        <source>Record before it, fixed delay</source>
        <translation>Davor aufnehmen, feste Pause</translation>
    </message>
    <message id="redio_previous_ignore_time">
        <source>Record before it, no delay</source>
        <translation>Davor aufnehmen, ohne Pause</translation>
    </message>
    <message id="redio_previous_record_time">
        <source>Record before it</source>
        <translation>Davor aufnehmen</translation>
    </message>
    <message id="shoot_export_text">
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message id="shoot_import_text">
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message id="shoot_reset_text">
        <source>Factory table</source>
        <translation>Werkstabelle</translation>
    </message>
    <message id="shoot_title_text">
        <source>Recoil tables</source>
        <translation>Rückstoßtabellen</translation>
    </message>
    <message id="shoot_write_text">
        <source>Write to mouse</source>
        <translation>Auf Maus schreiben</translation>
    </message>
    <message id="show_window">
        <source>Show window</source>
        <translation>Fenster zeigen</translation>
    </message>
    <message id="system_power">
        <source>Power off</source>
        <translation>Ausschalten</translation>
    </message>
    <message id="system_sleep">
        <source>Sleep</source>
        <translation>Ruhezustand</translation>
    </message>
    <message id="system_wake_up">
        <source>Wake up</source>
        <translation>Aufwecken</translation>
    </message>
    <message id="web_refresh">
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message id="web_search">
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message id="web_text">
        <source>Home page</source>
        <translation>Startseite</translation>
    </message>
    <message id="wed_back">
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message id="wed_favorite">
        <source>Favourites</source>
        <translation>Favoriten</translation>
    </message>
    <message id="wed_forward">
        <source>Forward</source>
        <translation>Vor</translation>
    </message>
    <message id="wed_stop">
        <source>Stop loading</source>
        <translation>Laden stoppen</translation>
    </message>
    <message id="win_key_text">
        <source>Win key</source>
        <translation>Win-Taste</translation>
    </message>
    <message id="keyboard_key_A">
        <source>A</source>
        <translation>A</translation>
    </message>
    <message id="keyboard_key_B">
        <source>B</source>
        <translation>B</translation>
    </message>
    <message id="keyboard_key_C">
        <source>C</source>
        <translation>C</translation>
    </message>
    <message id="keyboard_key_D">
        <source>D</source>
        <translation>D</translation>
    </message>
    <message id="keyboard_key_E">
        <source>E</source>
        <translation>E</translation>
    </message>
    <message id="keyboard_key_F">
        <source>F</source>
        <translation>F</translation>
    </message>
    <message id="keyboard_key_G">
        <source>G</source>
        <translation>G</translation>
    </message>
    <message id="keyboard_key_H">
        <source>H</source>
        <translation>H</translation>
    </message>
    <message id="keyboard_key_I">
        <source>I</source>
        <translation>I</translation>
    </message>
    <message id="keyboard_key_J">
        <source>J</source>
        <translation>J</translation>
    </message>
    <message id="keyboard_key_K">
        <source>K</source>
        <translation>K</translation>
    </message>
    <message id="keyboard_key_L">
        <source>L</source>
        <translation>L</translation>
    </message>
    <message id="keyboard_key_M">
        <source>M</source>
        <translation>M</translation>
    </message>
    <message id="keyboard_key_N">
        <source>N</source>
        <translation>N</translation>
    </message>
    <message id="keyboard_key_O">
        <source>O</source>
        <translation>O</translation>
    </message>
    <message id="keyboard_key_P">
        <source>P</source>
        <translation>P</translation>
    </message>
    <message id="keyboard_key_Q">
        <source>Q</source>
        <translation>Q</translation>
    </message>
    <message id="keyboard_key_R">
        <source>R</source>
        <translation>R</translation>
    </message>
    <message id="keyboard_key_S">
        <source>S</source>
        <translation>S</translation>
    </message>
    <message id="keyboard_key_T">
        <source>T</source>
        <translation>T</translation>
    </message>
    <message id="keyboard_key_U">
        <source>U</source>
        <translation>U</translation>
    </message>
    <message id="keyboard_key_V">
        <source>V</source>
        <translation>V</translation>
    </message>
    <message id="keyboard_key_W">
        <source>W</source>
        <translation>W</translation>
    </message>
    <message id="keyboard_key_X">
        <source>X</source>
        <translation>X</translation>
    </message>
    <message id="keyboard_key_Y">
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message id="keyboard_key_Z">
        <source>Z</source>
        <translation>Z</translation>
    </message>
    <message id="keyboard_key_1">
        <source>1</source>
        <translation>1</translation>
    </message>
    <message id="keyboard_key_2">
        <source>2</source>
        <translation>2</translation>
    </message>
    <message id="keyboard_key_3">
        <source>3</source>
        <translation>3</translation>
    </message>
    <message id="keyboard_key_4">
        <source>4</source>
        <translation>4</translation>
    </message>
    <message id="keyboard_key_5">
        <source>5</source>
        <translation>5</translation>
    </message>
    <message id="keyboard_key_6">
        <source>6</source>
        <translation>6</translation>
    </message>
    <message id="keyboard_key_7">
        <source>7</source>
        <translation>7</translation>
    </message>
    <message id="keyboard_key_8">
        <source>8</source>
        <translation>8</translation>
    </message>
    <message id="keyboard_key_9">
        <source>9</source>
        <translation>9</translation>
    </message>
    <message id="keyboard_key_0">
        <source>0</source>
        <translation>0</translation>
    </message>
    <message id="keyboard_key_F1">
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message id="keyboard_key_F2">
        <source>F2</source>
        <translation>F2</translation>
    </message>
    <message id="keyboard_key_F3">
        <source>F3</source>
        <translation>F3</translation>
    </message>
    <message id="keyboard_key_F4">
        <source>F4</source>
        <translation>F4</translation>
    </message>
    <message id="keyboard_key_F5">
        <source>F5</source>
        <translation>F5</translation>
    </message>
    <message id="keyboard_key_F6">
        <source>F6</source>
        <translation>F6</translation>
    </message>
    <message id="keyboard_key_F7">
        <source>F7</source>
        <translation>F7</translation>
    </message>
    <message id="keyboard_key_F8">
        <source>F8</source>
        <translation>F8</translation>
    </message>
    <message id="keyboard_key_F9">
        <source>F9</source>
        <translation>F9</translation>
    </message>
    <message id="keyboard_key_F10">
        <source>F10</source>
        <translation>F10</translation>
    </message>
    <message id="keyboard_key_F11">
        <source>F11</source>
        <translation>F11</translation>
    </message>
    <message id="keyboard_key_F12">
        <source>F12</source>
        <translation>F12</translation>
    </message>
    <message id="keyboard_key_Num 1">
        <source>Num 1</source>
        <translation>Num 1</translation>
    </message>
    <message id="keyboard_key_Num 2">
        <source>Num 2</source>
        <translation>Num 2</translation>
    </message>
    <message id="keyboard_key_Num 3">
        <source>Num 3</source>
        <translation>Num 3</translation>
    </message>
    <message id="keyboard_key_Num 4">
        <source>Num 4</source>
        <translation>Num 4</translation>
    </message>
    <message id="keyboard_key_Num 5">
        <source>Num 5</source>
        <translation>Num 5</translation>
    </message>
    <message id="keyboard_key_Num 6">
        <source>Num 6</source>
        <translation>Num 6</translation>
    </message>
    <message id="keyboard_key_Num 7">
        <source>Num 7</source>
        <translation>Num 7</translation>
    </message>
    <message id="keyboard_key_Num 8">
        <source>Num 8</source>
        <translation>Num 8</translation>
    </message>
    <message id="keyboard_key_Num 9">
        <source>Num 9</source>
        <translation>Num 9</translation>
    </message>
    <message id="keyboard_key_Num 0">
        <source>Num 0</source>
        <translation>Num 0</translation>
    </message>
    <message id="keyboard_key_LCtrl">
        <source>L Ctrl</source>
        <translation>L Strg</translation>
    </message>
    <message id="keyboard_key_LShift">
        <source>L Shift</source>
        <translation>L Umsch</translation>
    </message>
    <message id="keyboard_key_LAlt">
        <source>L Alt</source>
        <translation>L Alt</translation>
    </message>
    <message id="keyboard_key_LWin">
        <source>L Win</source>
        <translation>L Win</translation>
    </message>
    <message id="keyboard_key_RCtrl">
        <source>R Ctrl</source>
        <translation>R Strg</translation>
    </message>
    <message id="keyboard_key_RShift">
        <source>R Shift</source>
        <translation>R Umsch</translation>
    </message>
    <message id="keyboard_key_RAlt">
        <source>R Alt</source>
        <translation>Alt Gr</translation>
    </message>
    <message id="keyboard_key_RWin">
        <source>R Win</source>
        <translation>R Win</translation>
    </message>
    <message id="keyboard_key_Enter">
        <source>Enter</source>
        <translation>Eingabe</translation>
    </message>
    <message id="keyboard_key_Esc">
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message id="keyboard_key_BackSpace">
        <source>Backspace</source>
        <translation>Rück</translation>
    </message>
    <message id="keyboard_key_Tab">
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message id="keyboard_key_Space">
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message id="keyboard_key_-">
        <source>-</source>
        <translation>-</translation>
    </message>
    <message id="keyboard_key_=">
        <source>=</source>
        <translation>=</translation>
    </message>
    <message id="keyboard_key_[">
        <source>[</source>
        <translation>[</translation>
    </message>
    <message id="keyboard_key_]">
        <source>]</source>
        <translation>]</translation>
    </message>
    <message id="keyboard_key_xiegang">
        <source>\</source>
        <translation>\</translation>
    </message>
    <message id="keyboard_key_;">
        <source>;</source>
        <translation>;</translation>
    </message>
    <message id="keyboard_key_'">
        <source>'</source>
        <translation>'</translation>
    </message>
    <message id="keyboard_key_`">
        <source>`</source>
        <translation>`</translation>
    </message>
    <message id="keyboard_key_.">
        <source>.</source>
        <translation>.</translation>
    </message>
    <message id="keyboard_key_/">
        <source>/</source>
        <translation>/</translation>
    </message>
    <message id="keyboard_key_Caplk">
        <source>Caps Lock</source>
        <translation>Feststell</translation>
    </message>
    <message id="keyboard_key_Print Scr">
        <source>PrtSc</source>
        <translation>Druck</translation>
    </message>
    <message id="keyboard_key_Scroll Lock">
        <source>ScrLk</source>
        <translation>Rollen</translation>
    </message>
    <message id="keyboard_key_Pause">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="keyboard_key_Insert">
        <source>Ins</source>
        <translation>Einfg</translation>
    </message>
    <message id="keyboard_key_Home">
        <source>Home</source>
        <translation>Pos1</translation>
    </message>
    <message id="keyboard_key_Page Up">
        <source>PgUp</source>
        <translation>Bild ↑</translation>
    </message>
    <message id="keyboard_key_Delete">
        <source>Del</source>
        <translation>Entf</translation>
    </message>
    <message id="keyboard_key_End">
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message id="keyboard_key_Page Down">
        <source>PgDn</source>
        <translation>Bild ↓</translation>
    </message>
    <message id="keyboard_key_Right">
        <source>→</source>
        <translation>→</translation>
    </message>
    <message id="keyboard_key_Left">
        <source>←</source>
        <translation>←</translation>
    </message>
    <message id="keyboard_key_Down">
        <source>↓</source>
        <translation>↓</translation>
    </message>
    <message id="keyboard_key_Up">
        <source>↑</source>
        <translation>↑</translation>
    </message>
    <message id="keyboard_key_Num Lock">
        <source>Num Lock</source>
        <translation>Num</translation>
    </message>
    <message id="keyboard_key_Num /">
        <source>Num /</source>
        <translation>Num /</translation>
    </message>
    <message id="keyboard_key_Num *">
        <source>Num *</source>
        <translation>Num *</translation>
    </message>
    <message id="keyboard_key_Num -">
        <source>Num -</source>
        <translation>Num -</translation>
    </message>
    <message id="keyboard_key_Num +">
        <source>Num +</source>
        <translation>Num +</translation>
    </message>
    <message id="keyboard_key_Num Enter">
        <source>Num Enter</source>
        <translation>Num Enter</translation>
    </message>
    <message id="keyboard_key_Decimal">
        <source>Num .</source>
        <translation>Num .</translation>
    </message>
    <message id="keyboard_key_App">
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message id="keyboard_key_K45">
        <source>ISO \</source>
        <translation>ISO \</translation>
    </message>
    <message id="keyboard_key_K56">
        <source>Ro</source>
        <translation>Ro</translation>
    </message>
    <message id="keyboard_key_K14">
        <source>¥</source>
        <translation>¥</translation>
    </message>
    <message id="keyboard_key_K107">
        <source>Num ,</source>
        <translation>Num ,</translation>
    </message>
    <message id="keyboard_key_K131">
        <source>Muhen</source>
        <translation>Muhen</translation>
    </message>
    <message id="keyboard_key_K132">
        <source>Henkan</source>
        <translation>Henkan</translation>
    </message>
    <message id="keyboard_key_K133">
        <source>Kana</source>
        <translation>Kana</translation>
    </message>
    <message id="keyboard_key_K150">
        <source>Hangul</source>
        <translation>Hangul</translation>
    </message>
    <message id="keyboard_key_K151">
        <source>Hanja</source>
        <translation>Hanja</translation>
    </message>
    <message id="keyboard_key_K42">
        <source>ISO #</source>
        <translation>ISO #</translation>
    </message>
    <message id="keyboard_key_FN">
        <source>Fn</source>
        <translation>Fn</translation>
    </message>
    <message id="keyboard_key_GM">
        <source>Game</source>
        <translation>Spiel</translation>
    </message>
    <message id="keyboard_key_M1">
        <source>M1</source>
        <translation>M1</translation>
    </message>
    <message id="keyboard_key_M2">
        <source>M2</source>
        <translation>M2</translation>
    </message>
    <message id="keyboard_key_M3">
        <source>M3</source>
        <translation>M3</translation>
    </message>
    <message id="keyboard_key_M4">
        <source>M4</source>
        <translation>M4</translation>
    </message>
    <message id="keyboard_key_M5">
        <source>M5</source>
        <translation>M5</translation>
    </message>
    <message id="light_kb_mode_0">
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message id="light_kb_mode_1">
        <source>Wave</source>
        <translation>Welle</translation>
    </message>
    <message id="light_kb_mode_2">
        <source>Slow wave</source>
        <translation>Langsame Welle</translation>
    </message>
    <message id="light_kb_mode_3">
        <source>Snake</source>
        <translation>Schlange</translation>
    </message>
    <message id="light_kb_mode_4">
        <source>Spectrum</source>
        <translation>Spektrum</translation>
    </message>
    <message id="light_kb_mode_5">
        <source>Breathing</source>
        <translation>Atmen</translation>
    </message>
    <message id="light_kb_mode_6">
        <source>Rings</source>
        <translation>Ringe</translation>
    </message>
    <message id="light_kb_mode_7">
        <source>Reactive</source>
        <translation>Reaktiv</translation>
    </message>
    <message id="light_kb_mode_8">
        <source>Ripple</source>
        <translation>Kräuseln</translation>
    </message>
    <message id="light_kb_mode_9">
        <source>Row ripple</source>
        <translation>Zeilenwelle</translation>
    </message>
    <message id="light_kb_mode_10">
        <source>Twinkle</source>
        <translation>Funkeln</translation>
    </message>
    <message id="light_kb_mode_11">
        <source>Rainbow keys</source>
        <translation>Regenbogentasten</translation>
    </message>
    <message id="light_kb_mode_12">
        <source>Row wave</source>
        <translation>Zeilenwechsel</translation>
    </message>
    <message id="light_kb_mode_13">
        <source>Fountain</source>
        <translation>Fontäne</translation>
    </message>
    <message id="light_kb_mode_14">
        <source>Light show</source>
        <translation>Lichtshow</translation>
    </message>
    <message id="light_kb_mode_15">
        <source>Rain</source>
        <translation>Regen</translation>
    </message>
    <message id="light_kb_mode_16">
        <source>Bouncing diamonds</source>
        <translation>Springende Rauten</translation>
    </message>
    <message id="light_kb_mode_17">
        <source>Single colour</source>
        <translation>Einfarbig</translation>
    </message>
    <message id="light_kb_mode_18">
        <source>Rotating rings</source>
        <translation>Drehende Ringe</translation>
    </message>
    <message id="light_kb_mode_19">
        <source>Own effect</source>
        <translation>Eigener Effekt</translation>
    </message>
    <message id="light_kb_mode_20">
        <source>Custom colours</source>
        <translation>Eigene Farben</translation>
    </message>
    <message id="light_kb_mode_21">
        <source>Travelling dot</source>
        <translation>Wandernder Punkt</translation>
    </message>
    <message id="light_kb_mode_22">
        <source>Colour pulses</source>
        <translation>Farbpulse</translation>
    </message>
    <message id="light_kb_mode_23">
        <source>Blink</source>
        <translation>Blinken</translation>
    </message>
    <message id="light_kb_mode_24">
        <source>Trails</source>
        <translation>Spuren</translation>
    </message>
    <message id="light_kb_mode_25">
        <source>Ripple while held</source>
        <translation>Kräuseln beim Halten</translation>
    </message>
    <message id="light_kb_mode_26">
        <source>Breathing colours</source>
        <translation>Farbatmen</translation>
    </message>
    <message id="light_kb_mode_27">
        <source>Blinking colours</source>
        <translation>Farbblinken</translation>
    </message>
    <message id="light_kb_mode_28">
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message id="light_kb_mode_29">
        <source>Music</source>
        <translation>Musik</translation>
    </message>
    <message id="light_kb_mode_30">
        <source>Colour input</source>
        <translation>Farbeingabe</translation>
    </message>
    <message id="keyboard_switches_title">
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message id="winlock_label">
        <source>Win key</source>
        <translation>Win-Taste</translation>
    </message>
    <message id="winlock_text">
        <source>Lock</source>
        <translation>Sperren</translation>
    </message>
    <message id="wflag_label">
        <source>WASD</source>
        <translation>WASD</translation>
    </message>
    <message id="wflag_text">
        <source>Swap with the arrow keys</source>
        <translation>Mit Pfeiltasten tauschen</translation>
    </message>
    <message id="key6_label">
        <source>Rollover</source>
        <translation>Rollover</translation>
    </message>
    <message id="key6_text">
        <source>6-key mode</source>
        <translation>6-Tasten-Modus</translation>
    </message>
    <message id="keyboard_report_rate_title">
        <source>Report rate</source>
        <translation>Abfragerate</translation>
    </message>
    <message id="keyboard_repeat_title">
        <source>Key repeat</source>
        <translation>Tastenwiederholung</translation>
    </message>
    <message id="repeat_delay_label">
        <source>Delay</source>
        <translation>Verzögerung</translation>
    </message>
    <message id="repeat_delay_0">
        <source>250 ms</source>
        <translation>250 ms</translation>
    </message>
    <message id="repeat_delay_1">
        <source>500 ms</source>
        <translation>500 ms</translation>
    </message>
    <message id="repeat_delay_2">
        <source>750 ms</source>
        <translation>750 ms</translation>
    </message>
    <message id="repeat_delay_3">
        <source>1000 ms</source>
        <translation>1000 ms</translation>
    </message>
    <message id="Repeat_Delay_Time">
        <source>Repeat after</source>
        <translation>Wiederholung nach</translation>
    </message>
    <message id="repeat_rate_label">
        <source>Rate</source>
        <translation>Rate</translation>
    </message>
    <message id="repeat_test_label">
        <source>Try it</source>
        <translation>Testen</translation>
    </message>
    <message id="Repeat_input_text">
        <source>Hold a key here to try the repeat</source>
        <translation>Hier eine Taste gedrückt halten</translation>
    </message>
    <message id="repeat_reset_text">
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message id="about_keys_label">
        <source>Key positions</source>
        <translation>Tastenplätze</translation>
    </message>
    <message id="keyboard_not_connected">
        <source>The keyboard is not connected.</source>
        <translation>Die Tastatur ist nicht verbunden.</translation>
    </message>
    <message id="feature_not_on_keyboard">
        <source>This keyboard has no settings here.</source>
        <translation>Diese Tastatur hat hier keine Einstellungen.</translation>
    </message>
    <message id="close_text">
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message id="skin_image_text">
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message id="skin_color_text">
        <source>Colours</source>
        <translation>Farben</translation>
    </message>
    <message id="skin_reset_text">
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message id="skin_custom_text">
        <source>Your own picture…</source>
        <translation>Eigenes Bild…</translation>
    </message>
    <message id="skin_custom_title">
        <source>Choose a background picture</source>
        <translation>Hintergrundbild wählen</translation>
    </message>
    <message id="skin_custom_filter">
        <source>PNG pictures (*.png);;All files (*)</source>
        <translation>PNG-Bilder (*.png);;Alle Dateien (*)</translation>
    </message>
    <message id="device_settings_missing">
        <source>%1 is not installed, so these settings cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>%1 ist nicht installiert, daher lassen sich diese Einstellungen nicht von hier öffnen. Bitte öffnen Sie sie in den Einstellungen Ihres Desktops.</translation>
    </message>
    <message id="device_settings_unknown_0">
        <source>The keyboard settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>Die Tastatureinstellungen dieses Desktops lassen sich nicht von hier öffnen. Bitte öffnen Sie sie in den Einstellungen Ihres Desktops.</translation>
    </message>
    <message id="device_settings_unknown_1">
        <source>The mouse settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>Die Mauseinstellungen dieses Desktops lassen sich nicht von hier öffnen. Bitte öffnen Sie sie in den Einstellungen Ihres Desktops.</translation>
    </message>
    <message id="tip_device_prev">
        <source>Previous device</source>
        <translation>Vorheriges Gerät</translation>
    </message>
    <message id="tip_device_next">
        <source>Next device</source>
        <translation>Nächstes Gerät</translation>
    </message>
    <message id="palette_title_text">
        <source>Colour palette</source>
        <translation>Farbpalette</translation>
    </message>
    <message id="palette_chosen_text">
        <source>Chosen colour</source>
        <translation>Gewählte Farbe</translation>
    </message>
    <message id="palette_preset_text">
        <source>Preset colours</source>
        <translation>Vorgegebene Farben</translation>
    </message>
    <message id="palette_collect_text">
        <source>My colours</source>
        <translation>Meine Farben</translation>
    </message>
    <message id="palette_seven_colour_text">
        <source>Seven colours</source>
        <translation>Sieben Farben</translation>
    </message>
    <message id="palette_ok_text">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="palette_cancel_text">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="music_title_text">
        <source>Music styles</source>
        <translation>Musikstile</translation>
    </message>
    <message id="music_style_1_text">
        <source>Style 1</source>
        <translation>Stil 1</translation>
    </message>
    <message id="music_style_2_text">
        <source>Style 2</source>
        <translation>Stil 2</translation>
    </message>
    <message id="music_style_3_text">
        <source>Style 3</source>
        <translation>Stil 3</translation>
    </message>
    <message id="music_style_4_text">
        <source>Style 4</source>
        <translation>Stil 4</translation>
    </message>
    <message id="audio_no_sound_server_text">
        <source>No sound reaches the audio light: no sound server is running for this user. Start one and the light follows the music again.</source>
        <translation>Das Audiolicht hört keinen Ton: Für diesen Benutzer läuft kein Soundserver. Starten Sie einen, dann folgt das Licht wieder der Musik.</translation>
    </message>
    <message id="audio_capture_missing_text">
        <source>The audio light cannot listen: the program q407-audio-capture could not be started. Please reinstall Q407.</source>
        <translation>Das Audiolicht kann nicht zuhören: Das Programm q407-audio-capture ließ sich nicht starten. Bitte installieren Sie Q407 neu.</translation>
    </message>
    <message id="light_audio_background_text">
        <source>Background</source>
        <translation>Hinterg.</translation>
    </message>
    <message id="light_audio_foreground_text">
        <source>Foreground</source>
        <translation>Vorderg.</translation>
    </message>
    <message id="light_audio_seven_text">
        <source>Seven colours</source>
        <translation>Sieben Farben</translation>
    </message>
    <message id="light_audio_no_background_text">
        <source>No background</source>
        <translation>Ohne</translation>
    </message>
    <message id="light_audio_styles_text">
        <source>Music styles</source>
        <translation>Musikstile</translation>
    </message>
    <message id="light_audio_mode_0">
        <source>Rising columns</source>
        <translation>Steigende Säulen</translation>
    </message>
    <message id="light_audio_mode_1">
        <source>Bars from the middle</source>
        <translation>Balken aus der Mitte</translation>
    </message>
    <message id="light_audio_mode_2">
        <source>Ripples on the beat</source>
        <translation>Wellen im Takt</translation>
    </message>
    <message id="light_audio_mode_3">
        <source>Rings by loudness</source>
        <translation>Ringe nach Lautstärke</translation>
    </message>
    <message id="light_audio_mode_4">
        <source>Falling peaks</source>
        <translation>Fallende Spitzen</translation>
    </message>
    <message id="light_audio_mode_5">
        <source>Bars from the left</source>
        <translation>Balken von links</translation>
    </message>
    <message id="light_audio_mode_6">
        <source>Alternating bars</source>
        <translation>Wechselnde Balken</translation>
    </message>
    <message id="light_client_status_text">
        <source>A lighting program is controlling these lights.</source>
        <translation>Ein Beleuchtungsprogramm steuert gerade diese Beleuchtung.</translation>
    </message>
    <message id="sdk_server_check_text">
        <source>OpenRGB SDK server for lighting programs (port 6742)</source>
        <translation>OpenRGB-SDK-Server für Lichtprogramme (Port 6742)</translation>
    </message>
</context>
</TS>
