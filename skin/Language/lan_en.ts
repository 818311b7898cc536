<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="main_title">
        <source>Q407</source>
        <translation>Q407</translation>
    </message>
    <message id="menu_show">
        <source>Show window</source>
        <translation>Show window</translation>
    </message>
    <message id="menu_exit">
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message id="no_device_text">
        <source>No device found. Please connect a device.</source>
        <translation>No device found. Please connect a device.</translation>
    </message>
    <message id="control_light_on">
        <source>Controlling lights</source>
        <translation>Controlling lights</translation>
    </message>
    <message id="control_light_off">
        <source>Not controlling lights</source>
        <translation>Not controlling lights</translation>
    </message>
    <message id="msg_title">
        <source>Notice</source>
        <translation>Notice</translation>
    </message>
    <message id="msg_confirm">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="msg_cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="setting_progress_text">
        <source>Applying settings…</source>
        <translation>Applying settings…</translation>
    </message>
    <message id="device_name">
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message id="device_wireless">
        <source>Wireless</source>
        <translation>Wireless</translation>
    </message>
    <message id="device_wired">
        <source>Wired</source>
        <translation>Wired</translation>
    </message>
    <message id="device_offline">
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message id="page_title_mouse">
        <source>Mouse</source>
        <translation>Mouse</translation>
    </message>
    <message id="page_title_keyboard">
        <source>Keyboard</source>
        <translation>Keyboard</translation>
    </message>
    <message id="page_title_mousepad">
        <source>Mouse pad</source>
        <translation>Mouse pad</translation>
    </message>
    <message id="page_title_headset">
        <source>Headset</source>
        <translation>Headset</translation>
    </message>
    <message id="setwnd_title">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="update_tishi_text">
        <source>Keep your devices and Q407 up to date.</source>
        <translation>Keep your devices and Q407 up to date.</translation>
    </message>
    <message id="update_tishi_btn">
        <source>Got it</source>
        <translation>Got it</translation>
    </message>
    <message id="language_label_text">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="update_name_head">
        <source>Component</source>
        <translation>Component</translation>
    </message>
    <message id="update_old_head">
        <source>Installed</source>
        <translation>Installed</translation>
    </message>
    <message id="update_new_head">
        <source>Newest</source>
        <translation>Newest</translation>
    </message>
    <message id="update_state_head">
        <source>State</source>
        <translation>State</translation>
    </message>
    <message id="update_now_text">
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message id="update_confirm_text">
        <source>Update the ticked components now? Keep the devices connected until the update has finished.</source>
        <translation>Update the ticked components now? Keep the devices connected until the update has finished.</translation>
    </message>
    <message id="update_later_text">
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message id="update_ok_text">
        <source>Update now</source>
        <translation>Update now</translation>
    </message>
    <message id="update_failed_text">
        <source>Update failed!</source>
        <translation>Update failed!</translation>
    </message>
    <message id="GetUpdateInfoText">
        <source>Checking for updates…</source>
        <translation>Checking for updates…</translation>
    </message>
    <message id="HaveUpdateInfoText">
        <source>Updates are available</source>
        <translation>Updates are available</translation>
    </message>
    <message id="NoUpdateInfoText">
        <source>No update information (no connection to the update server)</source>
        <translation>No update information (no connection to the update server)</translation>
    </message>
    <message id="ISUpdateINGText">
        <source>Updating…</source>
        <translation>Updating…</translation>
    </message>
    <message id="UpdateOkText">
        <source>Up to date</source>
        <translation>Up to date</translation>
    </message>
    <message id="LessUpdateText">
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
    <message id="NeedUpdateText">
        <source>Update available</source>
        <translation>Update available</translation>
    </message>
    <message id="DownloadWaitText">
        <source>Waiting for download</source>
        <translation>Waiting for download</translation>
    </message>
    <message id="DownloadIngText">
        <source>Downloading</source>
        <translation>Downloading</translation>
    </message>
    <message id="DownloadOkText">
        <source>Downloaded</source>
        <translation>Downloaded</translation>
    </message>
    <message id="UpdateIngText">
        <source>Installing</source>
        <translation>Installing</translation>
    </message>
    <message id="UpdateFailText">
        <source>Update failed</source>
        <translation>Update failed</translation>
    </message>
    <message id="tips_text">
        <source>Notice</source>
        <translation>Notice</translation>
    </message>
    <message id="message_text_30">
        <source>The firmware of this mouse is too old to be set up. Upgrade it now? Without the upgrade the program ends.</source>
        <translation>The firmware of this mouse is too old to be set up. Upgrade it now? Without the upgrade the program ends.</translation>
    </message>
    <message id="device_name_mouse">
        <source>Mouse</source>
        <translation>Mouse</translation>
    </message>
    <message id="device_name_keyboard">
        <source>Keyboard</source>
        <translation>Keyboard</translation>
    </message>
    <message id="device_name_MousePad">
        <source>Mouse pad</source>
        <translation>Mouse pad</translation>
    </message>
    <message id="device_name_HD">
        <source>Headset</source>
        <translation>Headset</translation>
    </message>
    <message id="light_panel_title_text">
        <source>Lighting effect</source>
        <translation>Lighting effect</translation>
    </message>
    <message id="light_same_mode_text">
        <source>Apply to all devices</source>
        <translation>Apply to all devices</translation>
    </message>
    <message id="light_mode_text">
        <source>Effect</source>
        <translation>Effect</translation>
    </message>
    <message id="light_zzcc_mode_text">
        <source>Trigger</source>
        <translation>Trigger</translation>
    </message>
    <message id="light_zzcc_mode_0">
        <source>Single key</source>
        <translation>Single key</translation>
    </message>
    <message id="light_zzcc_mode_1">
        <source>Ripple</source>
        <translation>Ripple</translation>
    </message>
    <message id="light_zzcc_mode_2">
        <source>Row</source>
        <translation>Row</translation>
    </message>
    <message id="light_zzcc_mode_3">
        <source>Cross</source>
        <translation>Cross</translation>
    </message>
    <message id="light_custom_group_text">
        <source>Custom set</source>
        <translation>Custom set</translation>
    </message>
    <message id="light_custom_group_1">
        <source>Set 1</source>
        <translation>Set 1</translation>
    </message>
    <message id="light_custom_group_2">
        <source>Set 2</source>
        <translation>Set 2</translation>
    </message>
    <message id="light_custom_group_3">
        <source>Set 3</source>
        <translation>Set 3</translation>
    </message>
    <message id="light_custom_group_4">
        <source>Set 4</source>
        <translation>Set 4</translation>
    </message>
    <message id="light_custom_group_5">
        <source>Set 5</source>
        <translation>Set 5</translation>
    </message>
    <message id="light_custom_fill_text">
        <source>Fill all keys</source>
        <translation>Fill all keys</translation>
    </message>
    <message id="light_custom_clear_text">
        <source>Turn all off</source>
        <translation>Turn all off</translation>
    </message>
    <message id="light_audio_mode_text">
        <source>Music style</source>
        <translation>Music style</translation>
    </message>
    <message id="light_brightness_text">
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message id="light_speed_text">
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message id="light_direction_text">
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message id="light_set_right_to_left_text">
        <source>Right to left</source>
        <translation>Right to left</translation>
    </message>
    <message id="light_set_left_to_right_text">
        <source>Left to right</source>
        <translation>Left to right</translation>
    </message>
    <message id="light_set_clockwise_text">
        <source>Clockwise</source>
        <translation>Clockwise</translation>
    </message>
    <message id="light_set_anticlockwise_text">
        <source>Anticlockwise</source>
        <translation>Anticlockwise</translation>
    </message>
    <message id="light_set_down_to_up_text">
        <source>Bottom to top</source>
        <translation>Bottom to top</translation>
    </message>
    <message id="light_set_up_to_down_text">
        <source>Top to bottom</source>
        <translation>Top to bottom</translation>
    </message>
    <message id="light_set_outside_to_inside_text">
        <source>Outside in</source>
        <translation>Outside in</translation>
    </message>
    <message id="light_set_inside_to_outside_text">
        <source>Inside out</source>
        <translation>Inside out</translation>
    </message>
    <message id="light_colour_title_text">
        <source>Colour</source>
        <translation>Colour</translation>
    </message>
    <message id="light_multi_colour_text">
        <source>Multi-colour</source>
        <translation>Multi-colour</translation>
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
        <translation>The colours follow the music style.</translation>
    </message>
    <message id="profile_caption_text">
        <source>Profile</source>
        <translation>Profile</translation>
    </message>
    <message id="profile_rename_text">
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message id="profile_manage_text">
        <source>Manage…</source>
        <translation>Manage…</translation>
    </message>
    <message id="profile_new_text">
        <source>New</source>
        <translation>New</translation>
    </message>
    <message id="profile_copy_text">
        <source>Duplicate</source>
        <translation>Duplicate</translation>
    </message>
    <message id="profile_delete_text">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="profile_import_text">
        <source>Import…</source>
        <translation>Import…</translation>
    </message>
    <message id="profile_export_text">
        <source>Export…</source>
        <translation>Export…</translation>
    </message>
    <message id="profile_reset_text">
        <source>Restore defaults</source>
        <translation>Restore defaults</translation>
    </message>
    <message id="feature_tab_lighting">
        <source>Lighting</source>
        <translation>Lighting</translation>
    </message>
    <message id="feature_tab_keys">
        <source>Buttons</source>
        <translation>Buttons</translation>
    </message>
    <message id="feature_tab_macros">
        <source>Macros</source>
        <translation>Macros</translation>
    </message>
    <message id="feature_tab_system">
        <source>Performance</source>
        <translation>Performance</translation>
    </message>
    <message id="feature_tab_cursor">
        <source>Pointer</source>
        <translation>Pointer</translation>
    </message>
    <message id="feature_tab_audio">
        <source>Sound</source>
        <translation>Sound</translation>
    </message>
    <message id="feature_tab_voice">
        <source>Voice changer</source>
        <translation>Voice changer</translation>
    </message>
    <message id="feature_tab_virtual71">
        <source>Virtual 7.1</source>
        <translation>Virtual 7.1</translation>
    </message>
    <message id="feature_tab_about">
        <source>About</source>
        <translation>About</translation>
    </message>
    <message id="page_title_mouse_b">
        <source>Wireless mouse</source>
        <translation>Wireless mouse</translation>
    </message>
    <message id="dpi_stages_title">
        <source>DPI stages</source>
        <translation>DPI stages</translation>
    </message>
    <message id="dpi_stage_1">
        <source>Stage 1</source>
        <translation>Stage 1</translation>
    </message>
    <message id="dpi_stage_2">
        <source>Stage 2</source>
        <translation>Stage 2</translation>
    </message>
    <message id="dpi_stage_3">
        <source>Stage 3</source>
        <translation>Stage 3</translation>
    </message>
    <message id="dpi_stage_4">
        <source>Stage 4</source>
        <translation>Stage 4</translation>
    </message>
    <message id="dpi_stage_5">
        <source>Stage 5</source>
        <translation>Stage 5</translation>
    </message>
    <message id="dpi_stage_6">
        <source>Stage 6</source>
        <translation>Stage 6</translation>
    </message>
    <message id="dpi_enable_tip">
        <source>Use this stage</source>
        <translation>Use this stage</translation>
    </message>
    <message id="dpi_colour_tip">
        <source>Stage colour</source>
        <translation>Stage colour</translation>
    </message>
    <message id="dpi_hint_text">
        <source>Drag a slider or type a value from 50 to 26000 DPI; values are rounded up to a multiple of 50. The selected stage is the one the mouse uses now.</source>
        <translation>Drag a slider or type a value from 50 to 26000 DPI; values are rounded up to a multiple of 50. The selected stage is the one the mouse uses now.</translation>
    </message>
    <message id="report_rate_title">
        <source>Report rate</source>
        <translation>Report rate</translation>
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
        <translation>Lift-off distance</translation>
    </message>
    <message id="lift_low">
        <source>Low</source>
        <translation>Low</translation>
    </message>
    <message id="lift_mid">
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message id="lift_high">
        <source>High</source>
        <translation>High</translation>
    </message>
    <message id="motion_sync_label">
        <source>Motion sync</source>
        <translation>Motion sync</translation>
    </message>
    <message id="angle_snap_label">
        <source>Angle snapping</source>
        <translation>Angle snapping</translation>
    </message>
    <message id="sensor_lift_label">
        <source>Lift cut-off</source>
        <translation>Lift cut-off</translation>
    </message>
    <message id="switch_off">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="switch_on">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="power_title">
        <source>Power</source>
        <translation>Power</translation>
    </message>
    <message id="dormancy_label">
        <source>Sleep after</source>
        <translation>Sleep after</translation>
    </message>
    <message id="deep_sleep_label">
        <source>Deep sleep</source>
        <translation>Deep sleep</translation>
    </message>
    <message id="button_title">
        <source>Buttons</source>
        <translation>Buttons</translation>
    </message>
    <message id="debounce_label">
        <source>Debounce time</source>
        <translation>Debounce time</translation>
    </message>
    <message id="anti_shake_label">
        <source>Anti-shake</source>
        <translation>Anti-shake</translation>
    </message>
    <message id="anti_shake_off">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="anti_shake_low">
        <source>Low</source>
        <translation>Low</translation>
    </message>
    <message id="anti_shake_mid">
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message id="anti_shake_high">
        <source>High</source>
        <translation>High</translation>
    </message>
    <message id="settings_tab_dpi">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="settings_tab_performance">
        <source>Performance</source>
        <translation>Performance</translation>
    </message>
    <message id="settings_tab_power">
        <source>Power and buttons</source>
        <translation>Power and buttons</translation>
    </message>
    <message id="pointer_title">
        <source>Pointer and wheel</source>
        <translation>Pointer and wheel</translation>
    </message>
    <message id="pointer_speed_label">
        <source>Pointer speed</source>
        <translation>Pointer speed</translation>
    </message>
    <message id="pointer_precision_label">
        <source>Precision</source>
        <translation>Precision</translation>
    </message>
    <message id="pointer_precision_text">
        <source>Enhance pointer precision</source>
        <translation>Enhance pointer precision</translation>
    </message>
    <message id="scroll_speed_label">
        <source>Wheel lines</source>
        <translation>Wheel lines</translation>
    </message>
    <message id="scroll_page_label">
        <source>Scrolling</source>
        <translation>Scrolling</translation>
    </message>
    <message id="scroll_page_text">
        <source>Scroll one page at a time</source>
        <translation>Scroll one page at a time</translation>
    </message>
    <message id="double_click_label">
        <source>Double-click time</source>
        <translation>Double-click time</translation>
    </message>
    <message id="open_desktop_mouse_settings">
        <source>Open the desktop's mouse settings</source>
        <translation>Open the desktop's mouse settings</translation>
    </message>
    <message id="pointer_hint_text">
        <source>These values are kept in the profile. Applying them to the desktop comes in a later version; use the desktop's own settings meanwhile.</source>
        <translation>These values are kept in the profile. Applying them to the desktop comes in a later version; use the desktop's own settings meanwhile.</translation>
    </message>
    <message id="about_title">
        <source>About this device</source>
        <translation>About this device</translation>
    </message>
    <message id="about_product_label">
        <source>Product</source>
        <translation>Product</translation>
    </message>
    <message id="about_connection_label">
        <source>Connection</source>
        <translation>Connection</translation>
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
        <translation>2.4 GHz receiver</translation>
    </message>
    <message id="connection_cable">
        <source>Cable</source>
        <translation>Cable</translation>
    </message>
    <message id="feature_not_on_mouse">
        <source>This mouse has no such function.</source>
        <translation>This mouse has no such function.</translation>
    </message>
    <message id="key_name_left">
        <source>Left button</source>
        <translation>Left button</translation>
    </message>
    <message id="key_name_right">
        <source>Right button</source>
        <translation>Right button</translation>
    </message>
    <message id="key_name_wheel">
        <source>Wheel button</source>
        <translation>Wheel button</translation>
    </message>
    <message id="key_name_forward">
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message id="key_name_back">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="key_name_dpi">
        <source>DPI up</source>
        <translation>DPI up</translation>
    </message>
    <message id="key_name_dpi_down">
        <source>DPI down</source>
        <translation>DPI down</translation>
    </message>
    <message id="key_name_side3">
        <source>Side button 3</source>
        <translation>Side button 3</translation>
    </message>
    <message id="key_name_side4">
        <source>Side button 4</source>
        <translation>Side button 4</translation>
    </message>
    <message id="key_name_wheel_up">
        <source>Wheel up</source>
        <translation>Wheel up</translation>
    </message>
    <message id="key_name_wheel_down">
        <source>Wheel down</source>
        <translation>Wheel down</translation>
    </message>
    <message id="unit_ms">
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message id="unit_minutes">
        <source>min</source>
        <translation>min</translation>
    </message>
    <message id="mouse_not_connected">
        <source>Connect the mouse to change its settings.</source>
        <translation>Connect the mouse to change its settings.</translation>
    </message>
    <message id="message_text_5">
        <source>This name is already in use.</source>
        <translation>This name is already in use.</translation>
    </message>
    <message id="message_text_7">
        <source>The device did not take the profile. Check its connection.</source>
        <translation>The device did not take the profile. Check its connection.</translation>
    </message>
    <message id="message_text_16">
        <source>The macros need more memory than the device has: shorten them by about %d events.</source>
        <translation>The macros need more memory than the device has: shorten them by about %d events.</translation>
    </message>
    <message id="message_text_22">
        <source>Return this profile to the default settings?</source>
        <translation>Return this profile to the default settings?</translation>
    </message>
    <message id="message_text_25">
        <source>The profile name cannot be empty.</source>
        <translation>The profile name cannot be empty.</translation>
    </message>
    <message id="message_text_26">
        <source>Copy the current profile?</source>
        <translation>Copy the current profile?</translation>
    </message>
    <message id="message_text_27">
        <source>Add a new profile?</source>
        <translation>Add a new profile?</translation>
    </message>
    <message id="message_text_29">
        <source>Delete the current profile?</source>
        <translation>Delete the current profile?</translation>
    </message>
    <message id="profile_import_filter">
        <source>Profile Files(*.json)</source>
        <translation>Profile Files(*.json)</translation>
    </message>
    <message id="light_mode_0">
        <source>Marquee</source>
        <translation>Marquee</translation>
    </message>
    <message id="light_mode_1">
        <source>Spectrum cycle</source>
        <translation>Spectrum cycle</translation>
    </message>
    <message id="light_mode_2">
        <source>Breathing</source>
        <translation>Breathing</translation>
    </message>
    <message id="light_mode_3">
        <source>Steady</source>
        <translation>Steady</translation>
    </message>
    <message id="light_mode_4">
        <source>Blink</source>
        <translation>Blink</translation>
    </message>
    <message id="light_mode_5">
        <source>Wave</source>
        <translation>Wave</translation>
    </message>
    <message id="light_mode_6">
        <source>Reactive</source>
        <translation>Reactive</translation>
    </message>
    <message id="light_mode_7">
        <source>Breathing, fixed colours</source>
        <translation>Breathing, fixed colours</translation>
    </message>
    <message id="light_mode_8">
        <source>Blink, fixed colours</source>
        <translation>Blink, fixed colours</translation>
    </message>
    <message id="light_mode_9">
        <source>Custom</source>
        <translation>Custom</translation>
    </message>
    <message id="light_mode_10">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="light_mode_11">
        <source>Reserved</source>
        <translation>Reserved</translation>
    </message>
    <message id="light_area_0">
        <source>Whole mouse</source>
        <translation>Whole mouse</translation>
    </message>
    <message id="light_area_1">
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message id="restore_defaults_text">
        <source>Restore defaults</source>
        <translation>Restore defaults</translation>
    </message>
    <message id="tip_close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="tip_minimise">
        <source>Minimise</source>
        <translation>Minimise</translation>
    </message>
    <message id="tip_maximise">
        <source>Maximise</source>
        <translation>Maximise</translation>
    </message>
    <message id="tip_restore">
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
    <message id="tip_settings">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="tip_skin">
        <source>Skin</source>
        <translation>Skin</translation>
    </message>
    <message id="tip_cloud">
        <source>Cloud</source>
        <translation>Cloud</translation>
    </message>
    <message id="tip_game_mode">
        <source>Game mode</source>
        <translation>Game mode</translation>
    </message>
    <message id="tip_smart_eyes">
        <source>Eye care</source>
        <translation>Eye care</translation>
    </message>
    <message id="tip_menu">
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message id="tip_home_page">
        <source>Home page</source>
        <translation>Home page</translation>
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
        <translation>Chase</translation>
    </message>
    <message id="Phone_type_no_device">
        <source>No phone on the charger</source>
        <translation>No phone on the charger</translation>
    </message>
    <message id="Phone_type_iphone">
        <source>Phone (type 1) charging</source>
        <translation>Phone (type 1) charging</translation>
    </message>
    <message id="Phone_type_samsung">
        <source>Phone (type 2) charging</source>
        <translation>Phone (type 2) charging</translation>
    </message>
    <message id="Phone_type_other">
        <source>Phone charging</source>
        <translation>Phone charging</translation>
    </message>
    <message id="eq_title">
        <source>Equaliser</source>
        <translation>Equaliser</translation>
    </message>
    <message id="eq_preset_1">
        <source>Music</source>
        <translation>Music</translation>
    </message>
    <message id="eq_preset_2">
        <source>Game</source>
        <translation>Game</translation>
    </message>
    <message id="eq_preset_3">
        <source>Bass</source>
        <translation>Bass</translation>
    </message>
    <message id="eq_preset_4">
        <source>Treble</source>
        <translation>Treble</translation>
    </message>
    <message id="eq_preset_5">
        <source>Flat</source>
        <translation>Flat</translation>
    </message>
    <message id="eq_preset_6">
        <source>Electronic</source>
        <translation>Electronic</translation>
    </message>
    <message id="eq_preset_7">
        <source>Warm</source>
        <translation>Warm</translation>
    </message>
    <message id="eq_preset_8">
        <source>Bright</source>
        <translation>Bright</translation>
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
        <translation>Hip-hop</translation>
    </message>
    <message id="eq_preset_12">
        <source>Footsteps</source>
        <translation>Footsteps</translation>
    </message>
    <message id="eq_preset_custom">
        <source>Custom</source>
        <translation>Custom</translation>
    </message>
    <message id="eq_custom_label">
        <source>My curves</source>
        <translation>My curves</translation>
    </message>
    <message id="eq_name_hint">
        <source>Name of a new curve</source>
        <translation>Name of a new curve</translation>
    </message>
    <message id="eq_save_text">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="eq_delete_text">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="microphone_title">
        <source>Microphone</source>
        <translation>Microphone</translation>
    </message>
    <message id="mic_label">
        <source>Microphone</source>
        <translation>Microphone</translation>
    </message>
    <message id="mic_on_text">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="monitor_label">
        <source>Hear myself</source>
        <translation>Hear myself</translation>
    </message>
    <message id="monitor_on_text">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="voice_changer_title">
        <source>Voice changer</source>
        <translation>Voice changer</translation>
    </message>
    <message id="voice_changer_on">
        <source>Voice changer on</source>
        <translation>Voice changer on</translation>
    </message>
    <message id="magic_voice_1">
        <source>Male</source>
        <translation>Male</translation>
    </message>
    <message id="magic_voice_2">
        <source>Female</source>
        <translation>Female</translation>
    </message>
    <message id="magic_voice_3">
        <source>Monster</source>
        <translation>Monster</translation>
    </message>
    <message id="magic_voice_4">
        <source>Cartoon</source>
        <translation>Cartoon</translation>
    </message>
    <message id="virtual_surround_pending">
        <source>Virtual 7.1 surround is not part of this version.</source>
        <translation>Virtual 7.1 surround is not part of this version.</translation>
    </message>
    <message id="about_sound_card_label">
        <source>Sound card</source>
        <translation>Sound card</translation>
    </message>
    <message id="sound_card_found">
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message id="sound_card_missing">
        <source>Not found</source>
        <translation>Not found</translation>
    </message>
    <message id="folder_unwritable_text">
        <source>Q407 cannot save files in %1 (%2). Changes are kept only until the program ends. Free some disk space or allow writing to this folder.</source>
        <translation>Q407 cannot save files in %1 (%2). Changes are kept only until the program ends. Free some disk space or allow writing to this folder.</translation>
    </message>
    <message id="bullet_caption_text">
        <source>Bullet</source>
        <translation>Bullet</translation>
    </message>
    <message id="bullet_delay_label">
        <source>Delay</source>
        <translation>Delay</translation>
    </message>
    <message id="bullet_limit_hint_text">
        <source>Distances up to 255, delays up to 65535 ms: larger values are held at these limits.</source>
        <translation>Distances up to 255, delays up to 65535 ms: larger values are held at these limits.</translation>
    </message>
    <message id="bullet_next_text">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="bullet_prev_text">
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message id="bullet_x_label">
        <source>Sideways</source>
        <translation>Sideways</translation>
    </message>
    <message id="bullet_y_label">
        <source>Vertical</source>
        <translation>Vertical</translation>
    </message>
    <message id="shoot_write_failed_text">
        <source>The mouse did not take the recoil tables. Check its connection.</source>
        <translation>The mouse did not take the recoil tables. Check its connection.</translation>
    </message>
    <message id="Key_Set">
        <source>Assigned:</source>
        <translation>Assigned:</translation>
    </message>
    <message id="custem_copy">
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message id="custem_cut">
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message id="custem_find">
        <source>Find</source>
        <translation>Find</translation>
    </message>
    <message id="custem_magnify">
        <source>Zoom in</source>
        <translation>Zoom in</translation>
    </message>
    <message id="custem_narrow">
        <source>Zoom out</source>
        <translation>Zoom out</translation>
    </message>
    <message id="custem_new">
        <source>New</source>
        <translation>New</translation>
    </message>
    <message id="custem_open">
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message id="custem_paste">
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message id="custem_save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="custem_select_all">
        <source>Select all</source>
        <translation>Select all</translation>
    </message>
    <message id="custem_undo">
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message id="key_panel_keys">
        <source>Key functions</source>
        <translation>Key functions</translation>
    </message>
    <message id="key_panel_recoil">
        <source>Recoil</source>
        <translation>Recoil</translation>
    </message>
    <message id="keyboard_key_&lt;">
        <source>,</source>
        <translation>,</translation>
    </message>
    <message id="keyboard_key_Browaer Home">
        <source>Browser home</source>
        <translation>Browser home</translation>
    </message>
    <message id="keyboard_key_Browser Back">
        <source>Browser back</source>
        <translation>Browser back</translation>
    </message>
    <message id="keyboard_key_Browser Favorites">
        <source>Favourites</source>
        <translation>Favourites</translation>
    </message>
    <message id="keyboard_key_Browser ForWard">
        <source>Browser forward</source>
        <translation>Browser forward</translation>
    </message>
    <message id="keyboard_key_Browser Refresh">
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message id="keyboard_key_Browser Search">
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message id="keyboard_key_Computer">
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message id="keyboard_key_Launch App2">
        <source>Calculator</source>
        <translation>Calculator</translation>
    </message>
    <message id="keyboard_key_Launch Mail">
        <source>Mail</source>
        <translation>Mail</translation>
    </message>
    <message id="keyboard_key_Launch Media Select">
        <source>Media player</source>
        <translation>Media player</translation>
    </message>
    <message id="keyboard_key_Media Next Track">
        <source>Next track</source>
        <translation>Next track</translation>
    </message>
    <message id="keyboard_key_Media Play Pause">
        <source>Play/Pause</source>
        <translation>Play/Pause</translation>
    </message>
    <message id="keyboard_key_Media Prev Track">
        <source>Previous track</source>
        <translation>Previous track</translation>
    </message>
    <message id="keyboard_key_Media Stop">
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message id="keyboard_key_Power">
        <source>Power</source>
        <translation>Power</translation>
    </message>
    <message id="keyboard_key_Sleep">
        <source>Sleep</source>
        <translation>Sleep</translation>
    </message>
    <message id="keyboard_key_Volume Down">
        <source>Volume down</source>
        <translation>Volume down</translation>
    </message>
    <message id="keyboard_key_Volume Mute">
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message id="keyboard_key_Volume Up">
        <source>Volume up</source>
        <translation>Volume up</translation>
    </message>
    <message id="keyboard_key_Wakeup">
        <source>Wake up</source>
        <translation>Wake up</translation>
    </message>
    <message id="keyset_button_label">
        <source>Button</source>
        <translation>Button</translation>
    </message>
    <message id="keyset_cancel_text">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="keyset_count_label">
        <source>Count</source>
        <translation>Count</translation>
    </message>
    <message id="keyset_default_hint_text">
        <source>The key does what it did from the factory.</source>
        <translation>The key does what it did from the factory.</translation>
    </message>
    <message id="keyset_default_text">
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message id="keyset_delay_label">
        <source>Delay</source>
        <translation>Delay</translation>
    </message>
    <message id="keyset_direction_label">
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message id="keyset_dpi_label">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="keyset_function_0">
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message id="keyset_function_1">
        <source>Mouse button</source>
        <translation>Mouse button</translation>
    </message>
    <message id="keyset_function_2">
        <source>Pointer swing</source>
        <translation>Pointer swing</translation>
    </message>
    <message id="keyset_function_3">
        <source>Wheel</source>
        <translation>Wheel</translation>
    </message>
    <message id="keyset_function_4">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="keyset_function_5">
        <source>Fire</source>
        <translation>Fire</translation>
    </message>
    <message id="keyset_function_6">
        <source>Keyboard key</source>
        <translation>Keyboard key</translation>
    </message>
    <message id="keyset_function_7">
        <source>Media</source>
        <translation>Media</translation>
    </message>
    <message id="keyset_function_8">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="keyset_function_9">
        <source>Macro</source>
        <translation>Macro</translation>
    </message>
    <message id="keyset_function_10">
        <source>Gun key</source>
        <translation>Gun key</translation>
    </message>
    <message id="keyset_function_11">
        <source>Shortcut</source>
        <translation>Shortcut</translation>
    </message>
    <message id="keyset_function_label">
        <source>Function</source>
        <translation>Function</translation>
    </message>
    <message id="keyset_gun_1">
        <source>Gun 1</source>
        <translation>Gun 1</translation>
    </message>
    <message id="keyset_gun_2">
        <source>Gun 2</source>
        <translation>Gun 2</translation>
    </message>
    <message id="keyset_gun_3">
        <source>Gun 3</source>
        <translation>Gun 3</translation>
    </message>
    <message id="keyset_gun_4">
        <source>Gun 4</source>
        <translation>Gun 4</translation>
    </message>
    <message id="keyset_gun_label">
        <source>Gun</source>
        <translation>Gun</translation>
    </message>
    <message id="keyset_interval_label">
        <source>Interval</source>
        <translation>Interval</translation>
    </message>
    <message id="keyset_key_label">
        <source>Key</source>
        <translation>Key</translation>
    </message>
    <message id="keyset_keyboard_hint_text">
        <source>Click the box and press a key. Ctrl, Shift, Alt or Win first make a combination.</source>
        <translation>Click the box and press a key. Ctrl, Shift, Alt or Win first make a combination.</translation>
    </message>
    <message id="keyset_macro_label">
        <source>Macro</source>
        <translation>Macro</translation>
    </message>
    <message id="keyset_media_label">
        <source>Media</source>
        <translation>Media</translation>
    </message>
    <message id="keyset_modifier_0">
        <source>None</source>
        <translation>None</translation>
    </message>
    <message id="keyset_modifier_1">
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message id="keyset_modifier_2">
        <source>Shift</source>
        <translation>Shift</translation>
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
        <translation>Play once</translation>
    </message>
    <message id="keyset_repeat_1">
        <source>Repeat while held</source>
        <translation>Repeat while held</translation>
    </message>
    <message id="keyset_repeat_2">
        <source>Repeat until pressed again</source>
        <translation>Repeat until pressed again</translation>
    </message>
    <message id="keyset_repeat_3">
        <source>Repeat until another key</source>
        <translation>Repeat until another key</translation>
    </message>
    <message id="keyset_repeat_label">
        <source>Repeat</source>
        <translation>Repeat</translation>
    </message>
    <message id="keyset_repeat_times">
        <source>Repeat a number of times</source>
        <translation>Repeat a number of times</translation>
    </message>
    <message id="keyset_shortcut_label">
        <source>Shortcut</source>
        <translation>Shortcut</translation>
    </message>
    <message id="keyset_speed_label">
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message id="keyset_store_text">
        <source>Store</source>
        <translation>Store</translation>
    </message>
    <message id="keyset_system_label">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="keyset_title_text">
        <source>Key function</source>
        <translation>Key function</translation>
    </message>
    <message id="keyset_write_text">
        <source>Write to device</source>
        <translation>Write to device</translation>
    </message>
    <message id="macro_action_down">
        <source>Press</source>
        <translation>Press</translation>
    </message>
    <message id="macro_action_edit">
        <source>Replace the key</source>
        <translation>Replace the key</translation>
    </message>
    <message id="macro_action_up">
        <source>Release</source>
        <translation>Release</translation>
    </message>
    <message id="macro_bottom_text">
        <source>Bottom</source>
        <translation>Bottom</translation>
    </message>
    <message id="macro_cancel_text">
        <source>Reload</source>
        <translation>Reload</translation>
    </message>
    <message id="macro_delete_all_text">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="macro_delete_event_text">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="macro_delete_text">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="macro_down_text">
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message id="macro_events_title_text">
        <source>Events</source>
        <translation>Events</translation>
    </message>
    <message id="macro_export_text">
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message id="macro_fixed_delay_text">
        <source>Fixed delay</source>
        <translation>Fixed delay</translation>
    </message>
    <message id="macro_import_text">
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message id="macro_insert_title_text">
        <source>Insert pointer move</source>
        <translation>Insert pointer move</translation>
    </message>
    <message id="macro_library_title_text">
        <source>Macros</source>
        <translation>Macros</translation>
    </message>
    <message id="macro_new_text">
        <source>New</source>
        <translation>New</translation>
    </message>
    <message id="macro_record_hint_text">
        <source>While recording, keys and clicks reach only this program. Right-click an event to record before or after it.</source>
        <translation>While recording, keys and clicks reach only this program. Right-click an event to record before or after it.</translation>
    </message>
    <message id="macro_record_start_text">
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message id="macro_record_stop_text">
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message id="macro_record_title_text">
        <source>Recording</source>
        <translation>Recording</translation>
    </message>
    <message id="macro_rename_text">
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message id="macro_save_text">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="macro_top_text">
        <source>Top</source>
        <translation>Top</translation>
    </message>
    <message id="macro_up_text">
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message id="media_calc">
        <source>Calculator</source>
        <translation>Calculator</translation>
    </message>
    <message id="media_mail">
        <source>Mail</source>
        <translation>Mail</translation>
    </message>
    <message id="media_mute">
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message id="media_mypc">
        <source>My computer</source>
        <translation>My computer</translation>
    </message>
    <message id="media_next">
        <source>Next track</source>
        <translation>Next track</translation>
    </message>
    <message id="media_play">
        <source>Play/Pause</source>
        <translation>Play/Pause</translation>
    </message>
    <message id="media_prev">
        <source>Previous track</source>
        <translation>Previous track</translation>
    </message>
    <message id="media_stop">
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message id="media_text">
        <source>Media player</source>
        <translation>Media player</translation>
    </message>
    <message id="media_vol_add">
        <source>Volume up</source>
        <translation>Volume up</translation>
    </message>
    <message id="media_vol_sub">
        <source>Volume down</source>
        <translation>Volume down</translation>
    </message>
    <message id="menu_back_click">
        <source>Back button click</source>
        <translation>Back button click</translation>
    </message>
    <message id="menu_back_down">
        <source>Back button press</source>
        <translation>Back button press</translation>
    </message>
    <message id="menu_back_up">
        <source>Back button release</source>
        <translation>Back button release</translation>
    </message>
    <message id="menu_forward_click">
        <source>Forward button click</source>
        <translation>Forward button click</translation>
    </message>
    <message id="menu_forward_down">
        <source>Forward button press</source>
        <translation>Forward button press</translation>
    </message>
    <message id="menu_forward_up">
        <source>Forward button release</source>
        <translation>Forward button release</translation>
    </message>
    <message id="menu_left_click">
        <source>Left click</source>
        <translation>Left click</translation>
    </message>
    <message id="menu_left_down">
        <source>Left button press</source>
        <translation>Left button press</translation>
    </message>
    <message id="menu_left_up">
        <source>Left button release</source>
        <translation>Left button release</translation>
    </message>
    <message id="menu_middle_click">
        <source>Middle click</source>
        <translation>Middle click</translation>
    </message>
    <message id="menu_middle_down">
        <source>Middle button press</source>
        <translation>Middle button press</translation>
    </message>
    <message id="menu_middle_up">
        <source>Middle button release</source>
        <translation>Middle button release</translation>
    </message>
    <message id="menu_right_click">
        <source>Right click</source>
        <translation>Right click</translation>
    </message>
    <message id="menu_right_down">
        <source>Right button press</source>
        <translation>Right button press</translation>
    </message>
    <message id="menu_right_up">
        <source>Right button release</source>
        <translation>Right button release</translation>
    </message>
    <message id="message_text_2">
        <source>Keys of this profile use the macro. Delete it anyway? Those keys get their default function back.</source>
        <translation>Keys of this profile use the macro. Delete it anyway? Those keys get their default function back.</translation>
    </message>
    <message id="message_text_28">
        <source>Create a new macro?</source>
        <translation>Create a new macro?</translation>
    </message>
    <message id="message_text_4">
        <source>Delete the selected macro?</source>
        <translation>Delete the selected macro?</translation>
    </message>
    <message id="mouse_key_DPI_add">
        <source>DPI up</source>
        <translation>DPI up</translation>
    </message>
    <message id="mouse_key_DPI_loop">
        <source>DPI cycle</source>
        <translation>DPI cycle</translation>
    </message>
    <message id="mouse_key_DPI_shift">
        <source>DPI shift</source>
        <translation>DPI shift</translation>
    </message>
    <message id="mouse_key_DPI_sub">
        <source>DPI down</source>
        <translation>DPI down</translation>
    </message>
    <message id="mouse_key_back">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="mouse_key_down_Swing">
        <source>Wheel down</source>
        <translation>Wheel down</translation>
    </message>
    <message id="mouse_key_fire_key">
        <source>Fire</source>
        <translation>Fire</translation>
    </message>
    <message id="mouse_key_forward">
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message id="mouse_key_gun">
        <source>Gun key</source>
        <translation>Gun key</translation>
    </message>
    <message id="mouse_key_left">
        <source>Left button</source>
        <translation>Left button</translation>
    </message>
    <message id="mouse_key_left_Swing">
        <source>Swing left</source>
        <translation>Swing left</translation>
    </message>
    <message id="mouse_key_middle">
        <source>Middle button</source>
        <translation>Middle button</translation>
    </message>
    <message id="mouse_key_right">
        <source>Right button</source>
        <translation>Right button</translation>
    </message>
    <message id="mouse_key_right_Swing">
        <source>Swing right</source>
        <translation>Swing right</translation>
    </message>
    <message id="mouse_key_shortcut_key">
        <source>Shortcut</source>
        <translation>Shortcut</translation>
    </message>
    <message id="mouse_key_smart_key">
        <source>Smart key</source>
        <translation>Smart key</translation>
    </message>
    <message id="mouse_key_up_Swing">
        <source>Wheel up</source>
        <translation>Wheel up</translation>
    </message>
    <message id="mouse_move_to_down_text">
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message id="mouse_move_to_left_text">
        <source>Left</source>
        <translation>Left</translation>
    </message>
    <message id="mouse_move_to_right_text">
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message id="mouse_move_to_up_text">
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message id="redio_later_constant_time">
        <source>Record after it, fixed delay</source>
        <translation>Record after it, fixed delay</translation>
    </message>
    <message id="redio_later_ignore_time">
        <source>Record after it, no delay</source>
        <translation>Record after it, no delay</translation>
    </message>
    <message id="redio_later_record_time">
        <source>Record after it</source>
        <translation>Record after it</translation>
    </message>
    <message id="redio_previous_constant_time">
        <source>Record before it, fixed delay</source>
        <translation>Record before it, fixed delay</translation>
    </message>
    <message id="redio_previous_ignore_time">
        <source>Record before it, no delay</source>
        <translation>Record before it, no delay</translation>
    </message>
    <message id="redio_previous_record_time">
        <source>Record before it</source>
        <translation>Record before it</translation>
    </message>
    <message id="shoot_export_text">
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message id="shoot_import_text">
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message id="shoot_reset_text">
        <source>Factory table</source>
        <translation>Factory table</translation>
    </message>
    <message id="shoot_title_text">
        <source>Recoil tables</source>
        <translation>Recoil tables</translation>
    </message>
    <message id="shoot_write_text">
        <source>Write to mouse</source>
        <translation>Write to mouse</translation>
    </message>
    <message id="show_window">
        <source>Show window</source>
        <translation>Show window</translation>
    </message>
    <message id="system_power">
        <source>Power off</source>
        <translation>Power off</translation>
    </message>
    <message id="system_sleep">
        <source>Sleep</source>
        <translation>Sleep</translation>
    </message>
    <message id="system_wake_up">
        <source>Wake up</source>
        <translation>Wake up</translation>
    </message>
    <message id="web_refresh">
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message id="web_search">
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message id="web_text">
        <source>Home page</source>
        <translation>Home page</translation>
    </message>
    <message id="wed_back">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="wed_favorite">
        <source>Favourites</source>
        <translation>Favourites</translation>
    </message>
    <message id="wed_forward">
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message id="wed_stop">
        <source>Stop loading</source>
        <translation>Stop loading</translation>
    </message>
    <message id="win_key_text">
        <source>Win key</source>
        <translation>Win key</translation>
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
        <translation>L Ctrl</translation>
    </message>
    <message id="keyboard_key_LShift">
        <source>L Shift</source>
        <translation>L Shift</translation>
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
        <translation>R Ctrl</translation>
    </message>
    <message id="keyboard_key_RShift">
        <source>R Shift</source>
        <translation>R Shift</translation>
    </message>
    <message id="keyboard_key_RAlt">
        <source>R Alt</source>
        <translation>R Alt</translation>
    </message>
    <message id="keyboard_key_RWin">
        <source>R Win</source>
        <translation>R Win</translation>
    </message>
    <message id="keyboard_key_Enter">
        <source>Enter</source>
        <translation>Enter</translation>
    </message>
    <message id="keyboard_key_Esc">
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message id="keyboard_key_BackSpace">
        <source>Backspace</source>
        <translation>Backspace</translation>
    </message>
    <message id="keyboard_key_Tab">
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message id="keyboard_key_Space">
        <source>Space</source>
        <translation>Space</translation>
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
        <translation>Caps Lock</translation>
    </message>
    <message id="keyboard_key_Print Scr">
        <source>PrtSc</source>
        <translation>PrtSc</translation>
    </message>
    <message id="keyboard_key_Scroll Lock">
        <source>ScrLk</source>
        <translation>ScrLk</translation>
    </message>
    <message id="keyboard_key_Pause">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="keyboard_key_Insert">
        <source>Ins</source>
        <translation>Ins</translation>
    </message>
    <message id="keyboard_key_Home">
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message id="keyboard_key_Page Up">
        <source>PgUp</source>
        <translation>PgUp</translation>
    </message>
    <message id="keyboard_key_Delete">
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message id="keyboard_key_End">
        <source>End</source>
        <translation>End</translation>
    </message>
    <message id="keyboard_key_Page Down">
        <source>PgDn</source>
        <translation>PgDn</translation>
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
        <translation>Num Lock</translation>
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
        <translation>Menu</translation>
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
        <translation>Game</translation>
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
        <translation>None</translation>
    </message>
    <message id="light_kb_mode_1">
        <source>Wave</source>
        <translation>Wave</translation>
    </message>
    <message id="light_kb_mode_2">
        <source>Slow wave</source>
        <translation>Slow wave</translation>
    </message>
    <message id="light_kb_mode_3">
        <source>Snake</source>
        <translation>Snake</translation>
    </message>
    <message id="light_kb_mode_4">
        <source>Spectrum</source>
        <translation>Spectrum</translation>
    </message>
    <message id="light_kb_mode_5">
        <source>Breathing</source>
        <translation>Breathing</translation>
    </message>
    <message id="light_kb_mode_6">
        <source>Rings</source>
        <translation>Rings</translation>
    </message>
    <message id="light_kb_mode_7">
        <source>Reactive</source>
        <translation>Reactive</translation>
    </message>
    <message id="light_kb_mode_8">
        <source>Ripple</source>
        <translation>Ripple</translation>
    </message>
    <message id="light_kb_mode_9">
        <source>Row ripple</source>
        <translation>Row ripple</translation>
    </message>
    <message id="light_kb_mode_10">
        <source>Twinkle</source>
        <translation>Twinkle</translation>
    </message>
    <message id="light_kb_mode_11">
        <source>Rainbow keys</source>
        <translation>Rainbow keys</translation>
    </message>
    <message id="light_kb_mode_12">
        <source>Row wave</source>
        <translation>Row wave</translation>
    </message>
    <message id="light_kb_mode_13">
        <source>Fountain</source>
        <translation>Fountain</translation>
    </message>
    <message id="light_kb_mode_14">
        <source>Light show</source>
        <translation>Light show</translation>
    </message>
    <message id="light_kb_mode_15">
        <source>Rain</source>
        <translation>Rain</translation>
    </message>
    <message id="light_kb_mode_16">
        <source>Bouncing diamonds</source>
        <translation>Bouncing diamonds</translation>
    </message>
    <message id="light_kb_mode_17">
        <source>Single colour</source>
        <translation>Single colour</translation>
    </message>
    <message id="light_kb_mode_18">
        <source>Rotating rings</source>
        <translation>Rotating rings</translation>
    </message>
    <message id="light_kb_mode_19">
        <source>Own effect</source>
        <translation>Own effect</translation>
    </message>
    <message id="light_kb_mode_20">
        <source>Custom colours</source>
        <translation>Custom colours</translation>
    </message>
    <message id="light_kb_mode_21">
        <source>Travelling dot</source>
        <translation>Travelling dot</translation>
    </message>
    <message id="light_kb_mode_22">
        <source>Colour pulses</source>
        <translation>Colour pulses</translation>
    </message>
    <message id="light_kb_mode_23">
        <source>Blink</source>
        <translation>Blink</translation>
    </message>
    <message id="light_kb_mode_24">
        <source>Trails</source>
        <translation>Trails</translation>
    </message>
    <message id="light_kb_mode_25">
        <source>Ripple while held</source>
        <translation>Ripple while held</translation>
    </message>
    <message id="light_kb_mode_26">
        <source>Breathing colours</source>
        <translation>Breathing colours</translation>
    </message>
    <message id="light_kb_mode_27">
        <source>Blinking colours</source>
        <translation>Blinking colours</translation>
    </message>
    <message id="light_kb_mode_28">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="light_kb_mode_29">
        <source>Music</source>
        <translation>Music</translation>
    </message>
    <message id="light_kb_mode_30">
        <source>Colour input</source>
        <translation>Colour input</translation>
    </message>
    <message id="keyboard_switches_title">
        <source>Keys</source>
        <translation>Keys</translation>
    </message>
    <message id="winlock_label">
        <source>Win key</source>
        <translation>Win key</translation>
    </message>
    <message id="winlock_text">
        <source>Lock</source>
        <translation>Lock</translation>
    </message>
    <message id="wflag_label">
        <source>WASD</source>
        <translation>WASD</translation>
    </message>
    <message id="wflag_text">
        <source>Swap with the arrow keys</source>
        <translation>Swap with the arrow keys</translation>
    </message>
    <message id="key6_label">
        <source>Rollover</source>
        <translation>Rollover</translation>
    </message>
    <message id="key6_text">
        <source>6-key mode</source>
        <translation>6-key mode</translation>
    </message>
    <message id="keyboard_report_rate_title">
        <source>Report rate</source>
        <translation>Report rate</translation>
    </message>
    <message id="keyboard_repeat_title">
        <source>Key repeat</source>
        <translation>Key repeat</translation>
    </message>
    <message id="repeat_delay_label">
        <source>Delay</source>
        <translation>Delay</translation>
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
        <translation>Repeat after</translation>
    </message>
    <message id="repeat_rate_label">
        <source>Rate</source>
        <translation>Rate</translation>
    </message>
    <message id="repeat_test_label">
        <source>Try it</source>
        <translation>Try it</translation>
    </message>
    <message id="Repeat_input_text">
        <source>Hold a key here to try the repeat</source>
        <translation>Hold a key here to try the repeat</translation>
    </message>
    <message id="repeat_reset_text">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="about_keys_label">
        <source>Key positions</source>
        <translation>Key positions</translation>
    </message>
    <message id="keyboard_not_connected">
        <source>The keyboard is not connected.</source>
        <translation>The keyboard is not connected.</translation>
    </message>
    <message id="feature_not_on_keyboard">
        <source>This keyboard has no settings here.</source>
        <translation>This keyboard has no settings here.</translation>
    </message>
    <message id="close_text">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="skin_image_text">
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message id="skin_color_text">
        <source>Colours</source>
        <translation>Colours</translation>
    </message>
    <message id="skin_reset_text">
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message id="skin_custom_text">
        <source>Your own picture…</source>
        <translation>Your own picture…</translation>
    </message>
    <message id="skin_custom_title">
        <source>Choose a background picture</source>
        <translation>Choose a background picture</translation>
    </message>
    <message id="skin_custom_filter">
        <source>PNG pictures (*.png);;All files (*)</source>
        <translation>PNG pictures (*.png);;All files (*)</translation>
    </message>
    <message id="device_settings_missing">
        <source>%1 is not installed, so these settings cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>%1 is not installed, so these settings cannot be opened from here. Please open them in the settings of your desktop.</translation>
    </message>
    <message id="device_settings_unknown_0">
        <source>The keyboard settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>The keyboard settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</translation>
    </message>
    <message id="device_settings_unknown_1">
        <source>The mouse settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>The mouse settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</translation>
    </message>
    <message id="tip_device_prev">
        <source>Previous device</source>
        <translation>Previous device</translation>
    </message>
    <message id="tip_device_next">
        <source>Next device</source>
        <translation>Next device</translation>
    </message>
    <message id="palette_title_text">
        <source>Colour palette</source>
        <translation>Colour palette</translation>
    </message>
    <message id="palette_chosen_text">
        <source>Chosen colour</source>
        <translation>Chosen colour</translation>
    </message>
    <message id="palette_preset_text">
        <source>Preset colours</source>
        <translation>Preset colours</translation>
    </message>
    <message id="palette_collect_text">
        <source>My colours</source>
        <translation>My colours</translation>
    </message>
    <message id="palette_seven_colour_text">
        <source>Seven colours</source>
        <translation>Seven colours</translation>
    </message>
    <message id="palette_ok_text">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="palette_cancel_text">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="music_title_text">
        <source>Music styles</source>
        <translation>Music styles</translation>
    </message>
    <message id="music_style_1_text">
        <source>Style 1</source>
        <translation>Style 1</translation>
    </message>
    <message id="music_style_2_text">
        <source>Style 2</source>
        <translation>Style 2</translation>
    </message>
    <message id="music_style_3_text">
        <source>Style 3</source>
        <translation>Style 3</translation>
    </message>
    <message id="music_style_4_text">
        <source>Style 4</source>
        <translation>Style 4</translation>
    </message>
    <message id="audio_no_sound_server_text">
        <source>No sound reaches the audio light: no sound server is running for this user. Start one and the light follows the music again.</source>
        <translation>No sound reaches the audio light: no sound server is running for this user. Start one and the light follows the music again.</translation>
    </message>
    <message id="audio_capture_missing_text">
        <source>The audio light cannot listen: the program q407-audio-capture could not be started. Please reinstall Q407.</source>
        <translation>The audio light cannot listen: the program q407-audio-capture could not be started. Please reinstall Q407.</translation>
    </message>
    <message id="light_audio_background_text">
        <source>Background</source>
        <translation>Background</translation>
    </message>
    <message id="light_audio_foreground_text">
        <source>Foreground</source>
        <translation>Foreground</translation>
    </message>
    <message id="light_audio_seven_text">
        <source>Seven colours</source>
        <translation>Seven colours</translation>
    </message>
    <message id="light_audio_no_background_text">
        <source>No background</source>
        <translation>No background</translation>
    </message>
    <message id="light_audio_styles_text">
        <source>Music styles</source>
        <translation>Music styles</translation>
    </message>
    <message id="light_audio_mode_0">
        <source>Rising columns</source>
        <translation>Rising columns</translation>
    </message>
    <message id="light_audio_mode_1">
        <source>Bars from the middle</source>
        <translation>Bars from the middle</translation>
    </message>
    <message id="light_audio_mode_2">
        <source>Ripples on the beat</source>
        <translation>Ripples on the beat</translation>
    </message>
    <message id="light_audio_mode_3">
        <source>Rings by loudness</source>
        <translation>Rings by loudness</translation>
    </message>
    <message id="light_audio_mode_4">
        <source>Falling peaks</source>
        <translation>Falling peaks</translation>
    </message>
    <message id="light_audio_mode_5">
        <source>Bars from the left</source>
        <translation>Bars from the left</translation>
    </message>
    <message id="light_audio_mode_6">
        <source>Alternating bars</source>
        <translation>Alternating bars</translation>
    </message>
    <message id="light_client_status_text">
        <source>A lighting program is controlling these lights.</source>
        <translation>A lighting program is controlling these lights.</translation>
    </message>
    <message id="sdk_server_check_text">
        <source>OpenRGB SDK server for lighting programs (port 6742)</source>
        <translation>OpenRGB SDK server for lighting programs (port 6742)</translation>
    </message>
</context>
</TS>
