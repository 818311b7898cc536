<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="main_title">
        <source>Q407</source>
        <translation>Q407</translation>
    </message>
    <message id="menu_show">
        <source>Show window</source>
        <translation>顯示主視窗</translation>
    </message>
    <message id="menu_exit">
        <source>Exit</source>
        <translation>結束</translation>
    </message>
    <message id="no_device_text">
        <source>No device found. Please connect a device.</source>
        <translation>未偵測到裝置，請連接裝置</translation>
    </message>
    <message id="control_light_on">
        <source>Controlling lights</source>
        <translation>控制燈光</translation>
    </message>
    <message id="control_light_off">
        <source>Not controlling lights</source>
        <translation>不控制燈光</translation>
    </message>
    <message id="msg_title">
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message id="msg_confirm">
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message id="msg_cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="setting_progress_text">
        <source>Applying settings…</source>
        <translation>正在設定…</translation>
    </message>
    <message id="device_name">
        <source>Device</source>
        <translation>裝置</translation>
    </message>
    <message id="device_wireless">
        <source>Wireless</source>
        <translation>無線</translation>
    </message>
    <message id="device_wired">
        <source>Wired</source>
        <translation>有線</translation>
    </message>
    <message id="device_offline">
        <source>Offline</source>
        <translation>離線</translation>
    </message>
    <message id="page_title_mouse">
        <source>Mouse</source>
        <translation>滑鼠</translation>
    </message>
    <message id="page_title_keyboard">
        <source>Keyboard</source>
        <translation>鍵盤</translation>
    </message>
    <message id="page_title_mousepad">
        <source>Mouse pad</source>
        <translation>滑鼠墊</translation>
    </message>
    <message id="page_title_headset">
        <source>Headset</source>
        <translation>耳機</translation>
    </message>
    <message id="setwnd_title">
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message id="update_tishi_text">
        <source>Keep your devices and Q407 up to date.</source>
        <translation>請保持裝置與 Q407 為最新版本。</translation>
    </message>
    <message id="update_tishi_btn">
        <source>Got it</source>
        <translation>知道了</translation>
    </message>
    <message id="language_label_text">
        <source>Language</source>
        <translation>語言</translation>
    </message>
    <message id="update_name_head">
        <source>Component</source>
        <translation>元件</translation>
    </message>
    <message id="update_old_head">
        <source>Installed</source>
        <translation>目前版本</translation>
    </message>
    <message id="update_new_head">
        <source>Newest</source>
        <translation>最新版本</translation>
    </message>
    <message id="update_state_head">
        <source>State</source>
        <translation>狀態</translation>
    </message>
    <message id="update_now_text">
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message id="update_confirm_text">
        <source>Update the ticked components now? Keep the devices connected until the update has finished.</source>
        <translation>現在更新已勾選的元件嗎？更新完成前請保持裝置連接。</translation>
    </message>
    <message id="update_later_text">
        <source>Later</source>
        <translation>稍後</translation>
    </message>
    <message id="update_ok_text">
        <source>Update now</source>
        <translation>立即更新</translation>
    </message>
    <message id="update_failed_text">
        <source>Update failed!</source>
        <translation>更新失敗！</translation>
    </message>
    <message id="GetUpdateInfoText">
        <source>Checking for updates…</source>
        <translation>正在檢查更新…</translation>
    </message>
    <message id="HaveUpdateInfoText">
        <source>Updates are available</source>
        <translation>有可用的更新</translation>
    </message>
    <message id="NoUpdateInfoText">
        <source>No update information (no connection to the update server)</source>
        <translation>無法取得更新資訊（無法連線至更新伺服器）</translation>
    </message>
    <message id="ISUpdateINGText">
        <source>Updating…</source>
        <translation>正在更新…</translation>
    </message>
    <message id="UpdateOkText">
        <source>Up to date</source>
        <translation>已是最新版本</translation>
    </message>
    <message id="LessUpdateText">
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message id="NeedUpdateText">
        <source>Update available</source>
        <translation>可更新</translation>
    </message>
    <message id="DownloadWaitText">
        <source>Waiting for download</source>
        <translation>等待下載</translation>
    </message>
    <message id="DownloadIngText">
        <source>Downloading</source>
        <translation>正在下載</translation>
    </message>
    <message id="DownloadOkText">
        <source>Downloaded</source>
        <translation>下載完成</translation>
    </message>
    <message id="UpdateIngText">
        <source>Installing</source>
        <translation>正在安裝</translation>
    </message>
    <message id="UpdateFailText">
        <source>Update failed</source>
        <translation>更新失敗</translation>
    </message>
    <message id="tips_text">
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message id="message_text_30">
        <source>The firmware of this mouse is too old to be set up. Upgrade it now? Without the upgrade the program ends.</source>
        <translation>此滑鼠的韌體版本過舊，無法設定。現在升級嗎？不升級將結束程式。</translation>
    </message>
    <message id="device_name_mouse">
        <source>Mouse</source>
        <translation>滑鼠</translation>
    </message>
    <message id="device_name_keyboard">
        <source>Keyboard</source>
        <translation>鍵盤</translation>
    </message>
    <message id="device_name_MousePad">
        <source>Mouse pad</source>
        <translation>滑鼠墊</translation>
    </message>
    <message id="device_name_HD">
        <source>Headset</source>
        <translation>耳機</translation>
    </message>
    <message id="light_panel_title_text">
        <source>Lighting effect</source>
        <translation>燈光效果</translation>
    </message>
    <message id="light_same_mode_text">
        <source>Apply to all devices</source>
        <translation>同步到所有裝置</translation>
    </message>
    <message id="light_mode_text">
        <source>Effect</source>
        <translation>燈效</translation>
    </message>
    <message id="light_zzcc_mode_text">
        <source>Trigger</source>
        <translation>觸發方式</translation>
    </message>
    <message id="light_zzcc_mode_0">
        <source>Single key</source>
        <translation>單鍵</translation>
    </message>
    <message id="light_zzcc_mode_1">
        <source>Ripple</source>
        <translation>漣漪</translation>
    </message>
    <message id="light_zzcc_mode_2">
        <source>Row</source>
        <translation>整行</translation>
    </message>
    <message id="light_zzcc_mode_3">
        <source>Cross</source>
        <translation>十字</translation>
    </message>
    <message id="light_custom_group_text">
        <source>Custom set</source>
        <translation>自訂組</translation>
    </message>
    <message id="light_custom_group_1">
        <source>Set 1</source>
        <translation>組 1</translation>
    </message>
    <message id="light_custom_group_2">
        <source>Set 2</source>
        <translation>組 2</translation>
    </message>
    <message id="light_custom_group_3">
        <source>Set 3</source>
        <translation>組 3</translation>
    </message>
    <message id="light_custom_group_4">
        <source>Set 4</source>
        <translation>組 4</translation>
    </message>
    <message id="light_custom_group_5">
        <source>Set 5</source>
        <translation>組 5</translation>
    </message>
    <message id="light_custom_fill_text">
        <source>Fill all keys</source>
        <translation>全部填滿</translation>
    </message>
    <message id="light_custom_clear_text">
        <source>Turn all off</source>
        <translation>全部關閉</translation>
    </message>
    <message id="light_audio_mode_text">
        <source>Music style</source>
        <translation>音樂風格</translation>
    </message>
    <message id="light_brightness_text">
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message id="light_speed_text">
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message id="light_direction_text">
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message id="light_set_right_to_left_text">
        <source>Right to left</source>
        <translation>從右到左</translation>
    </message>
    <message id="light_set_left_to_right_text">
        <source>Left to right</source>
        <translation>從左到右</translation>
    </message>
    <message id="light_set_clockwise_text">
        <source>Clockwise</source>
        <translation>順時針</translation>
    </message>
    <message id="light_set_anticlockwise_text">
        <source>Anticlockwise</source>
        <translation>逆時針</translation>
    </message>
    <message id="light_set_down_to_up_text">
        <source>Bottom to top</source>
        <translation>從下到上</translation>
    </message>
    <message id="light_set_up_to_down_text">
        <source>Top to bottom</source>
        <translation>從上到下</translation>
    </message>
    <message id="light_set_outside_to_inside_text">
        <source>Outside in</source>
        <translation>從外到內</translation>
    </message>
    <message id="light_set_inside_to_outside_text">
        <source>Inside out</source>
        <translation>從內到外</translation>
    </message>
    <message id="light_colour_title_text">
        <source>Colour</source>
        <translation>顏色</translation>
    </message>
    <message id="light_multi_colour_text">
        <source>Multi-colour</source>
        <translation>七彩</translation>
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
        <translation>顏色隨音樂風格變化。</translation>
    </message>
    <message id="profile_caption_text">
        <source>Profile</source>
        <translation>設定檔</translation>
    </message>
    <message id="profile_rename_text">
        <source>Rename</source>
        <translation>重新命名</translation>
    </message>
    <message id="profile_manage_text">
        <source>Manage…</source>
        <translation>管理…</translation>
    </message>
    <message id="profile_new_text">
        <source>New</source>
        <translation>新增</translation>
    </message>
    <message id="profile_copy_text">
        <source>Duplicate</source>
        <translation>複製</translation>
    </message>
    <message id="profile_delete_text">
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message id="profile_import_text">
        <source>Import…</source>
        <translation>匯入…</translation>
    </message>
    <message id="profile_export_text">
        <source>Export…</source>
        <translation>匯出…</translation>
    </message>
    <message id="profile_reset_text">
        <source>Restore defaults</source>
        <translation>恢復預設</translation>
    </message>
    <message id="feature_tab_lighting">
        <source>Lighting</source>
        <translation>燈光</translation>
    </message>
    <message id="feature_tab_keys">
        <source>Buttons</source>
        <translation>按鍵</translation>
    </message>
    <message id="feature_tab_macros">
        <source>Macros</source>
        <translation>巨集</translation>
    </message>
    <message id="feature_tab_system">
        <source>Performance</source>
        <translation>效能</translation>
    </message>
    <message id="feature_tab_cursor">
        <source>Pointer</source>
        <translation>指標</translation>
    </message>
    <message id="feature_tab_audio">
        <source>Sound</source>
        <translation>音效</translation>
    </message>
    <message id="feature_tab_voice">
        <source>Voice changer</source>
        <translation>變聲</translation>
    </message>
    <message id="feature_tab_virtual71">
        <source>Virtual 7.1</source>
        <translation>虛擬 7.1</translation>
    </message>
    <message id="feature_tab_about">
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message id="page_title_mouse_b">
        <source>Wireless mouse</source>
        <translation>無線滑鼠</translation>
    </message>
    <message id="dpi_stages_title">
        <source>DPI stages</source>
        <translation>DPI 段位</translation>
    </message>
    <message id="dpi_stage_1">
        <source>Stage 1</source>
        <translation>段位 1</translation>
    </message>
    <message id="dpi_stage_2">
        <source>Stage 2</source>
        <translation>段位 2</translation>
    </message>
    <message id="dpi_stage_3">
        <source>Stage 3</source>
        <translation>段位 3</translation>
    </message>
    <message id="dpi_stage_4">
        <source>Stage 4</source>
        <translation>段位 4</translation>
    </message>
    <message id="dpi_stage_5">
        <source>Stage 5</source>
        <translation>段位 5</translation>
    </message>
    <message id="dpi_stage_6">
        <source>Stage 6</source>
        <translation>段位 6</translation>
    </message>
    <message id="dpi_enable_tip">
        <source>Use this stage</source>
        <translation>啟用此段位</translation>
    </message>
    <message id="dpi_colour_tip">
        <source>Stage colour</source>
        <translation>段位顏色</translation>
    </message>
    <message id="dpi_hint_text">
        <source>Drag a slider or type a value from 50 to 26000 DPI; values are rounded up to a multiple of 50. The selected stage is the one the mouse uses now.</source>
        <translation>拖曳滑桿或輸入 50 到 26000 之間的數值；數值會以 50 的倍數無條件進位。選取的段位即滑鼠目前使用的段位。</translation>
    </message>
    <message id="report_rate_title">
        <source>Report rate</source>
        <translation>回報率</translation>
    </message>
    <message id="report_rate_label">
        <source>Rate (Hz)</source>
        <translation>回報率 (Hz)</translation>
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
        <translation>感測器</translation>
    </message>
    <message id="lift_off_label">
        <source>Lift-off distance</source>
        <translation>靜默高度</translation>
    </message>
    <message id="lift_low">
        <source>Low</source>
        <translation>低</translation>
    </message>
    <message id="lift_mid">
        <source>Medium</source>
        <translation>中</translation>
    </message>
    <message id="lift_high">
        <source>High</source>
        <translation>高</translation>
    </message>
    <message id="motion_sync_label">
        <source>Motion sync</source>
        <translation>移動同步</translation>
    </message>
    <message id="angle_snap_label">
        <source>Angle snapping</source>
        <translation>直線修正</translation>
    </message>
    <message id="sensor_lift_label">
        <source>Lift cut-off</source>
        <translation>抬起截止</translation>
    </message>
    <message id="switch_off">
        <source>Off</source>
        <translation>關</translation>
    </message>
    <message id="switch_on">
        <source>On</source>
        <translation>開</translation>
    </message>
    <message id="power_title">
        <source>Power</source>
        <translation>電源</translation>
    </message>
    <message id="dormancy_label">
        <source>Sleep after</source>
        <translation>休眠時間</translation>
    </message>
    <message id="deep_sleep_label">
        <source>Deep sleep</source>
        <translation>深度睡眠</translation>
    </message>
    <message id="button_title">
        <source>Buttons</source>
        <translation>按鍵</translation>
    </message>
    <message id="debounce_label">
        <source>Debounce time</source>
        <translation>按鍵防抖</translation>
    </message>
    <message id="anti_shake_label">
        <source>Anti-shake</source>
        <translation>防抖</translation>
    </message>
    <message id="anti_shake_off">
        <source>Off</source>
        <translation>關</translation>
    </message>
    <message id="anti_shake_low">
        <source>Low</source>
        <translation>低</translation>
    </message>
    <message id="anti_shake_mid">
        <source>Medium</source>
        <translation>中</translation>
    </message>
    <message id="anti_shake_high">
        <source>High</source>
        <translation>高</translation>
    </message>
    <message id="settings_tab_dpi">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="settings_tab_performance">
        <source>Performance</source>
        <translation>效能</translation>
    </message>
    <message id="settings_tab_power">
        <source>Power and buttons</source>
        <translation>電源與按鍵</translation>
    </message>
    <message id="pointer_title">
        <source>Pointer and wheel</source>
        <translation>指標與滾輪</translation>
    </message>
    <message id="pointer_speed_label">
        <source>Pointer speed</source>
        <translation>指標速度</translation>
    </message>
    <message id="pointer_precision_label">
        <source>Precision</source>
        <translation>精確度</translation>
    </message>
    <message id="pointer_precision_text">
        <source>Enhance pointer precision</source>
        <translation>提高指標精確度</translation>
    </message>
    <message id="scroll_speed_label">
        <source>Wheel lines</source>
        <translation>捲動行數</translation>
    </message>
    <message id="scroll_page_label">
        <source>Scrolling</source>
        <translation>捲動方式</translation>
    </message>
    <message id="scroll_page_text">
        <source>Scroll one page at a time</source>
        <translation>一次捲動一個畫面</translation>
    </message>
    <message id="double_click_label">
        <source>Double-click time</source>
        <translation>按兩下速度</translation>
    </message>
    <message id="open_desktop_mouse_settings">
        <source>Open the desktop's mouse settings</source>
        <translation>開啟系統滑鼠設定</translation>
    </message>
    <message id="pointer_hint_text">
        <source>These values are kept in the profile. Applying them to the desktop comes in a later version; use the desktop's own settings meanwhile.</source>
        <translation>這些數值保存在設定檔中；套用到桌面系統將在之後的版本提供，目前請使用系統內建的設定。</translation>
    </message>
    <message id="about_title">
        <source>About this device</source>
        <translation>裝置資訊</translation>
    </message>
    <message id="about_product_label">
        <source>Product</source>
        <translation>產品</translation>
    </message>
    <message id="about_connection_label">
        <source>Connection</source>
        <translation>連接方式</translation>
    </message>
    <message id="about_firmware_label">
        <source>Firmware</source>
        <translation>韌體版本</translation>
    </message>
    <message id="about_sensor_label">
        <source>Sensor</source>
        <translation>感測器</translation>
    </message>
    <message id="connection_receiver">
        <source>2.4 GHz receiver</source>
        <translation>2.4G 接收器</translation>
    </message>
    <message id="connection_cable">
        <source>Cable</source>
        <translation>有線</translation>
    </message>
    <message id="feature_not_on_mouse">
        <source>This mouse has no such function.</source>
        <translation>此滑鼠沒有該功能。</translation>
    </message>
    <message id="key_name_left">
        <source>Left button</source>
        <translation>左鍵</translation>
    </message>
    <message id="key_name_right">
        <source>Right button</source>
        <translation>右鍵</translation>
    </message>
    <message id="key_name_wheel">
        <source>Wheel button</source>
        <translation>中鍵</translation>
    </message>
    <message id="key_name_forward">
        <source>Forward</source>
        <translation>前進</translation>
    </message>
    <message id="key_name_back">
        <source>Back</source>
        <translation>後退</translation>
    </message>
    <message id="key_name_dpi">
        <source>DPI up</source>
        <translation>DPI 加</translation>
    </message>
    <message id="key_name_dpi_down">
        <source>DPI down</source>
        <translation>DPI 減</translation>
    </message>
    <message id="key_name_side3">
        <source>Side button 3</source>
        <translation>側鍵 3</translation>
    </message>
    <message id="key_name_side4">
        <source>Side button 4</source>
        <translation>側鍵 4</translation>
    </message>
    <message id="key_name_wheel_up">
        <source>Wheel up</source>
        <translation>滾輪向上</translation>
    </message>
    <message id="key_name_wheel_down">
        <source>Wheel down</source>
        <translation>滾輪向下</translation>
    </message>
    <message id="unit_ms">
        <source>ms</source>
        <translation>毫秒</translation>
    </message>
    <message id="unit_minutes">
        <source>min</source>
        <translation>分鐘</translation>
    </message>
    <message id="mouse_not_connected">
        <source>Connect the mouse to change its settings.</source>
        <translation>請連接滑鼠後再設定。</translation>
    </message>
    <message id="message_text_5">
        <source>This name is already in use.</source>
        <translation>名稱已存在。</translation>
    </message>
    <message id="message_text_7">
        <source>The device did not take the profile. Check its connection.</source>
        <translation>裝置未能套用此設定檔，請檢查連線。</translation>
    </message>
    <message id="message_text_16">
        <source>The macros need more memory than the device has: shorten them by about %d events.</source>
        <translation>巨集超出裝置記憶體：請刪減約 %d 個事件。</translation>
    </message>
    <message id="message_text_22">
        <source>Return this profile to the default settings?</source>
        <translation>確定將此設定檔恢復為預設值嗎？</translation>
    </message>
    <message id="message_text_25">
        <source>The profile name cannot be empty.</source>
        <translation>設定檔名稱不能為空。</translation>
    </message>
    <message id="message_text_26">
        <source>Copy the current profile?</source>
        <translation>確定複製目前的設定檔嗎？</translation>
    </message>
    <message id="message_text_27">
        <source>Add a new profile?</source>
        <translation>確定新增設定檔嗎？</translation>
    </message>
    <message id="message_text_29">
        <source>Delete the current profile?</source>
        <translation>確定刪除目前的設定檔嗎？</translation>
    </message>
    <message id="profile_import_filter">
        <source>Profile Files(*.json)</source>
        <translation>設定檔 (*.json)</translation>
    </message>
    <message id="light_mode_0">
        <source>Marquee</source>
        <translation>跑馬燈</translation>
    </message>
    <message id="light_mode_1">
        <source>Spectrum cycle</source>
        <translation>光譜循環</translation>
    </message>
    <message id="light_mode_2">
        <source>Breathing</source>
        <translation>呼吸</translation>
    </message>
    <message id="light_mode_3">
        <source>Steady</source>
        <translation>恆亮</translation>
    </message>
    <message id="light_mode_4">
        <source>Blink</source>
        <translation>閃爍</translation>
    </message>
    <message id="light_mode_5">
        <source>Wave</source>
        <translation>波浪</translation>
    </message>
    <message id="light_mode_6">
        <source>Reactive</source>
        <translation>觸發</translation>
    </message>
    <message id="light_mode_7">
        <source>Breathing, fixed colours</source>
        <translation>固定色呼吸</translation>
    </message>
    <message id="light_mode_8">
        <source>Blink, fixed colours</source>
        <translation>固定色閃爍</translation>
    </message>
    <message id="light_mode_9">
        <source>Custom</source>
        <translation>自訂</translation>
    </message>
    <message id="light_mode_10">
        <source>Off</source>
        <translation>關閉</translation>
    </message>
    <message id="light_mode_11">
        <source>Reserved</source>
        <translation>保留</translation>
    </message>
    <message id="light_area_0">
        <source>Whole mouse</source>
        <translation>整體</translation>
    </message>
    <message id="light_area_1">
        <source>Logo</source>
        <translation>標誌</translation>
    </message>
    <message id="restore_defaults_text">
        <source>Restore defaults</source>
        <translation>恢復預設</translation>
    </message>
    <message id="tip_close">
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message id="tip_minimise">
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message id="tip_maximise">
        <source>Maximise</source>
        <translation>最大化</translation>
    </message>
    <message id="tip_restore">
        <source>Restore</source>
        <translation>還原</translation>
    </message>
    <message id="tip_settings">
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message id="tip_skin">
        <source>Skin</source>
        <translation>外觀</translation>
    </message>
    <message id="tip_cloud">
        <source>Cloud</source>
        <translation>雲端</translation>
    </message>
    <message id="tip_game_mode">
        <source>Game mode</source>
        <translation>遊戲模式</translation>
    </message>
    <message id="tip_smart_eyes">
        <source>Eye care</source>
        <translation>智慧護眼</translation>
    </message>
    <message id="tip_menu">
        <source>Menu</source>
        <translation>選單</translation>
    </message>
    <message id="tip_home_page">
        <source>Home page</source>
        <translation>首頁</translation>
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
        <translation>追逐</translation>
    </message>
    <message id="Phone_type_no_device">
        <source>No phone on the charger</source>
        <translation>充電板上沒有手機</translation>
    </message>
    <message id="Phone_type_iphone">
        <source>Phone (type 1) charging</source>
        <translation>充電板上的手機（類型 1）正在充電</translation>
    </message>
    <message id="Phone_type_samsung">
        <source>Phone (type 2) charging</source>
        <translation>充電板上的手機（類型 2）正在充電</translation>
    </message>
    <message id="Phone_type_other">
        <source>Phone charging</source>
        <translation>手機充電中</translation>
    </message>
    <message id="eq_title">
        <source>Equaliser</source>
        <translation>等化器</translation>
    </message>
    <message id="eq_preset_1">
        <source>Music</source>
        <translation>音樂</translation>
    </message>
    <message id="eq_preset_2">
        <source>Game</source>
        <translation>遊戲</translation>
    </message>
    <message id="eq_preset_3">
        <source>Bass</source>
        <translation>低音</translation>
    </message>
    <message id="eq_preset_4">
        <source>Treble</source>
        <translation>高音</translation>
    </message>
    <message id="eq_preset_5">
        <source>Flat</source>
        <translation>平直</translation>
    </message>
    <message id="eq_preset_6">
        <source>Electronic</source>
        <translation>電子</translation>
    </message>
    <message id="eq_preset_7">
        <source>Warm</source>
        <translation>溫暖</translation>
    </message>
    <message id="eq_preset_8">
        <source>Bright</source>
        <translation>明亮</translation>
    </message>
    <message id="eq_preset_9">
        <source>Detail</source>
        <translation>細節</translation>
    </message>
    <message id="eq_preset_10">
        <source>Rock</source>
        <translation>搖滾</translation>
    </message>
    <message id="eq_preset_11">
        <source>Hip-hop</source>
        <translation>嘻哈</translation>
    </message>
    <message id="eq_preset_12">
        <source>Footsteps</source>
        <translation>腳步</translation>
    </message>
    <message id="eq_preset_custom">
        <source>Custom</source>
        <translation>自訂</translation>
    </message>
    <message id="eq_custom_label">
        <source>My curves</source>
        <translation>我的曲線</translation>
    </message>
    <message id="eq_name_hint">
        <source>Name of a new curve</source>
        <translation>新曲線名稱</translation>
    </message>
    <message id="eq_save_text">
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message id="eq_delete_text">
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message id="microphone_title">
        <source>Microphone</source>
        <translation>麥克風</translation>
    </message>
    <message id="mic_label">
        <source>Microphone</source>
        <translation>麥克風</translation>
    </message>
    <message id="mic_on_text">
        <source>On</source>
        <translation>開啟</translation>
    </message>
    <message id="monitor_label">
        <source>Hear myself</source>
        <translation>耳返</translation>
    </message>
    <message id="monitor_on_text">
        <source>On</source>
        <translation>開啟</translation>
    </message>
    <message id="voice_changer_title">
        <source>Voice changer</source>
        <translation>變聲器</translation>
    </message>
    <message id="voice_changer_on">
        <source>Voice changer on</source>
        <translation>開啟變聲</translation>
    </message>
    <message id="magic_voice_1">
        <source>Male</source>
        <translation>男聲</translation>
    </message>
    <message id="magic_voice_2">
        <source>Female</source>
        <translation>女聲</translation>
    </message>
    <message id="magic_voice_3">
        <source>Monster</source>
        <translation>怪獸</translation>
    </message>
    <message id="magic_voice_4">
        <source>Cartoon</source>
        <translation>卡通</translation>
    </message>
    <message id="virtual_surround_pending">
        <source>Virtual 7.1 surround is not part of this version.</source>
        <translation>此版本暫不提供虛擬 7.1 環繞聲。</translation>
    </message>
    <message id="about_sound_card_label">
        <source>Sound card</source>
        <translation>音效卡</translation>
    </message>
    <message id="sound_card_found">
        <source>Connected</source>
        <translation>已連接</translation>
    </message>
    <message id="sound_card_missing">
        <source>Not found</source>
        <translation>未找到</translation>
    </message>
    <message id="folder_unwritable_text">
        <source>Q407 cannot save files in %1 (%2). Changes are kept only until the program ends. Free some disk space or allow writing to this folder.</source>
        <translation>Q407 無法在 %1 中儲存檔案（%2）。變更只保留到程式結束。請釋放磁碟空間或允許寫入此資料夾。</translation>
    </message>
    <message id="bullet_caption_text">
        <source>Bullet</source>
        <translation>子彈</translation>
    </message>
    <message id="bullet_delay_label">
        <source>Delay</source>
        <translation>延時</translation>
    </message>
    <message id="bullet_limit_hint_text">
        <source>Distances up to 255, delays up to 65535 ms: larger values are held at these limits.</source>
        <translation>距離最大 255，延時最大 65535 毫秒：更大的值按上限儲存。</translation>
    </message>
    <message id="bullet_next_text">
        <source>Next</source>
        <translation>下一發</translation>
    </message>
    <message id="bullet_prev_text">
        <source>Previous</source>
        <translation>上一發</translation>
    </message>
    <message id="bullet_x_label">
        <source>Sideways</source>
        <translation>水平</translation>
    </message>
    <message id="bullet_y_label">
        <source>Vertical</source>
        <translation>垂直</translation>
    </message>
    <message id="shoot_write_failed_text">
        <source>The mouse did not take the recoil tables. Check its connection.</source>
        <translation>滑鼠未接收壓槍資料，請檢查連線。</translation>
    </message>
    <message id="Key_Set">
        <source>Assigned:</source>
        <translation>目前功能：</translation>
    </message>
    <message id="custem_copy">
        <source>Copy</source>
        <translation>複製</translation>
    </message>
    <message id="custem_cut">
        <source>Cut</source>
        <translation>剪下</translation>
    </message>
    <message id="custem_find">
        <source>Find</source>
        <translation>尋找</translation>
    </message>
    <message id="custem_magnify">
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message id="custem_narrow">
        <source>Zoom out</source>
        <translation>縮小</translation>
    </message>
    <message id="custem_new">
        <source>New</source>
        <translation>新增</translation>
    </message>
    <message id="custem_open">
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message id="custem_paste">
        <source>Paste</source>
        <translation>貼上</translation>
    </message>
    <message id="custem_save">
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message id="custem_select_all">
        <source>Select all</source>
        <translation>全選</translation>
    </message>
    <message id="custem_undo">
        <source>Undo</source>
        <translation>復原</translation>
    </message>
    <message id="key_panel_keys">
        <source>Key functions</source>
        <translation>按鍵功能</translation>
    </message>
    <message id="key_panel_recoil">
        <source>Recoil</source>
        <translation>壓槍</translation>
    </message>
    <message id="keyboard_key_&lt;">
        <source>,</source>
        <translation>,</translation>
    </message>
    <message id="keyboard_key_Browaer Home">
        <source>Browser home</source>
        <translation>瀏覽器首頁</translation>
    </message>
    <message id="keyboard_key_Browser Back">
        <source>Browser back</source>
        <translation>瀏覽器上一頁</translation>
    </message>
    <message id="keyboard_key_Browser Favorites">
        <source>Favourites</source>
        <translation>我的最愛</translation>
    </message>
    <message id="keyboard_key_Browser ForWard">
        <source>Browser forward</source>
        <translation>瀏覽器下一頁</translation>
    </message>
    <message id="keyboard_key_Browser Refresh">
        <source>Refresh</source>
        <translation>重新整理</translation>
    </message>
    <message id="keyboard_key_Browser Search">
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message id="keyboard_key_Computer">
        <source>Computer</source>
        <translation>我的電腦</translation>
    </message>
    <message id="keyboard_key_Launch App2">
        <source>Calculator</source>
        <translation>小算盤</translation>
    </message>
    <message id="keyboard_key_Launch Mail">
        <source>Mail</source>
        <translation>郵件</translation>
    </message>
    <message id="keyboard_key_Launch Media Select">
        <source>Media player</source>
        <translation>媒體播放器</translation>
    </message>
    <message id="keyboard_key_Media Next Track">
        <source>Next track</source>
        <translation>下一首</translation>
    </message>
    <message id="keyboard_key_Media Play Pause">
        <source>Play/Pause</source>
        <translation>播放/暫停</translation>
    </message>
    <message id="keyboard_key_Media Prev Track">
        <source>Previous track</source>
        <translation>上一首</translation>
    </message>
    <message id="keyboard_key_Media Stop">
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message id="keyboard_key_Power">
        <source>Power</source>
        <translation>電源</translation>
    </message>
    <message id="keyboard_key_Sleep">
        <source>Sleep</source>
        <translation>睡眠</translation>
    </message>
    <message id="keyboard_key_Volume Down">
        <source>Volume down</source>
        <translation>音量減</translation>
    </message>
    <message id="keyboard_key_Volume Mute">
        <source>Mute</source>
        <translation>靜音</translation>
    </message>
    <message id="keyboard_key_Volume Up">
        <source>Volume up</source>
        <translation>音量加</translation>
    </message>
    <message id="keyboard_key_Wakeup">
        <source>Wake up</source>
        <translation>喚醒</translation>
    </message>
    <message id="keyset_button_label">
        <source>Button</source>
        <translation>按鍵</translation>
    </message>
    <message id="keyset_cancel_text">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="keyset_count_label">
        <source>Count</source>
        <translation>次數</translation>
    </message>
    <message id="keyset_default_hint_text">
        <source>The key does what it did from the factory.</source>
        <translation>該鍵使用出廠功能。</translation>
    </message>
    <message id="keyset_default_text">
        <source>Default</source>
        <translation>恢復預設</translation>
    </message>
    <message id="keyset_delay_label">
        <source>Delay</source>
        <translation>間隔</translation>
    </message>
    <message id="keyset_direction_label">
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message id="keyset_dpi_label">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="keyset_function_0">
        <source>Default</source>
        <translation>預設功能</translation>
    </message>
    <message id="keyset_function_1">
        <source>Mouse button</source>
        <translation>滑鼠按鍵</translation>
    </message>
    <message id="keyset_function_2">
        <source>Pointer swing</source>
        <translation>指標擺動</translation>
    </message>
    <message id="keyset_function_3">
        <source>Wheel</source>
        <translation>滾輪</translation>
    </message>
    <message id="keyset_function_4">
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message id="keyset_function_5">
        <source>Fire</source>
        <translation>連發</translation>
    </message>
    <message id="keyset_function_6">
        <source>Keyboard key</source>
        <translation>鍵盤按鍵</translation>
    </message>
    <message id="keyset_function_7">
        <source>Media</source>
        <translation>多媒體</translation>
    </message>
    <message id="keyset_function_8">
        <source>System</source>
        <translation>系統</translation>
    </message>
    <message id="keyset_function_9">
        <source>Macro</source>
        <translation>巨集</translation>
    </message>
    <message id="keyset_function_10">
        <source>Gun key</source>
        <translation>壓槍鍵</translation>
    </message>
    <message id="keyset_function_11">
        <source>Shortcut</source>
        <translation>快速鍵</translation>
    </message>
    <message id="keyset_function_label">
        <source>Function</source>
        <translation>功能</translation>
    </message>
    <message id="keyset_gun_1">
        <source>Gun 1</source>
        <translation>槍 1</translation>
    </message>
    <message id="keyset_gun_2">
        <source>Gun 2</source>
        <translation>槍 2</translation>
    </message>
    <message id="keyset_gun_3">
        <source>Gun 3</source>
        <translation>槍 3</translation>
    </message>
    <message id="keyset_gun_4">
        <source>Gun 4</source>
        <translation>槍 4</translation>
    </message>
    <message id="keyset_gun_label">
        <source>Gun</source>
        <translation>槍械</translation>
    </message>
    <message id="keyset_interval_label">
        <source>Interval</source>
        <translation>間隔</translation>
    </message>
    <message id="keyset_key_label">
        <source>Key</source>
        <translation>按鍵</translation>
    </message>
    <message id="keyset_keyboard_hint_text">
        <source>Click the box and press a key. Ctrl, Shift, Alt or Win first make a combination.</source>
        <translation>點擊輸入框後按下按鍵；先按 Ctrl、Shift、Alt 或 Win 可組成組合鍵。</translation>
    </message>
    <message id="keyset_macro_label">
        <source>Macro</source>
        <translation>巨集</translation>
    </message>
    <message id="keyset_media_label">
        <source>Media</source>
        <translation>多媒體</translation>
    </message>
    <message id="keyset_modifier_0">
        <source>None</source>
        <translation>無</translation>
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
        <translation>執行一次</translation>
    </message>
    <message id="keyset_repeat_1">
        <source>Repeat while held</source>
        <translation>按住時循環</translation>
    </message>
    <message id="keyset_repeat_2">
        <source>Repeat until pressed again</source>
        <translation>循環至再次按下</translation>
    </message>
    <message id="keyset_repeat_3">
        <source>Repeat until another key</source>
        <translation>循環至按下其他鍵</translation>
    </message>
    <message id="keyset_repeat_label">
        <source>Repeat</source>
        <translation>循環方式</translation>
    </message>
    <message id="keyset_repeat_times">
        <source>Repeat a number of times</source>
        <translation>循環指定次數</translation>
    </message>
    <message id="keyset_shortcut_label">
        <source>Shortcut</source>
        <translation>快速鍵</translation>
    </message>
    <message id="keyset_speed_label">
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message id="keyset_store_text">
        <source>Store</source>
        <translation>儲存</translation>
    </message>
    <message id="keyset_system_label">
        <source>System</source>
        <translation>系統</translation>
    </message>
    <message id="keyset_title_text">
        <source>Key function</source>
        <translation>按鍵設定</translation>
    </message>
    <message id="keyset_write_text">
        <source>Write to device</source>
        <translation>套用到裝置</translation>
    </message>
    <message id="macro_action_down">
        <source>Press</source>
        <translation>按下</translation>
    </message>
    <message id="macro_action_edit">
        <source>Replace the key</source>
        <translation>修改按鍵</translation>
    </message>
    <message id="macro_action_up">
        <source>Release</source>
        <translation>彈起</translation>
    </message>
    <message id="macro_bottom_text">
        <source>Bottom</source>
        <translation>置底</translation>
    </message>
    <message id="macro_cancel_text">
        <source>Reload</source>
        <translation>取消</translation>
    </message>
    <message id="macro_delete_all_text">
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message id="macro_delete_event_text">
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message id="macro_delete_text">
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message id="macro_down_text">
        <source>Down</source>
        <translation>下移</translation>
    </message>
    <message id="macro_events_title_text">
        <source>Events</source>
        <translation>巨集事件</translation>
    </message>
    <message id="macro_export_text">
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message id="macro_fixed_delay_text">
        <source>Fixed delay</source>
        <translation>固定延時</translation>
    </message>
    <message id="macro_import_text">
        <source>Import</source>
        <translation>匯入</translation>
    </message>
    <message id="macro_insert_title_text">
        <source>Insert pointer move</source>
        <translation>插入滑鼠移動</translation>
    </message>
    <message id="macro_library_title_text">
        <source>Macros</source>
        <translation>巨集列表</translation>
    </message>
    <message id="macro_new_text">
        <source>New</source>
        <translation>新增</translation>
    </message>
    <message id="macro_record_hint_text">
        <source>While recording, keys and clicks reach only this program. Right-click an event to record before or after it.</source>
        <translation>錄製時按鍵和點擊只會傳送給本程式。右鍵點擊事件可在其前後錄製。</translation>
    </message>
    <message id="macro_record_start_text">
        <source>Record</source>
        <translation>開始錄製</translation>
    </message>
    <message id="macro_record_stop_text">
        <source>Stop</source>
        <translation>停止錄製</translation>
    </message>
    <message id="macro_record_title_text">
        <source>Recording</source>
        <translation>錄製</translation>
    </message>
    <message id="macro_rename_text">
        <source>Rename</source>
        <translation>重新命名</translation>
    </message>
    <message id="macro_save_text">
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message id="macro_top_text">
        <source>Top</source>
        <translation>置頂</translation>
    </message>
    <message id="macro_up_text">
        <source>Up</source>
        <translation>上移</translation>
    </message>
    <message id="media_calc">
        <source>Calculator</source>
        <translation>小算盤</translation>
    </message>
    <message id="media_mail">
        <source>Mail</source>
        <translation>郵件</translation>
    </message>
    <message id="media_mute">
        <source>Mute</source>
        <translation>靜音</translation>
    </message>
    <message id="media_mypc">
        <source>My computer</source>
        <translation>我的電腦</translation>
    </message>
    <message id="media_next">
        <source>Next track</source>
        <translation>下一首</translation>
    </message>
    <message id="media_play">
        <source>Play/Pause</source>
        <translation>播放/暫停</translation>
    </message>
    <message id="media_prev">
        <source>Previous track</source>
        <translation>上一首</translation>
    </message>
    <message id="media_stop">
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message id="media_text">
        <source>Media player</source>
        <translation>媒體播放器</translation>
    </message>
    <message id="media_vol_add">
        <source>Volume up</source>
        <translation>音量加</translation>
    </message>
    <message id="media_vol_sub">
        <source>Volume down</source>
        <translation>音量減</translation>
    </message>
    <message id="menu_back_click">
        <source>Back button click</source>
        <translation>後退鍵單擊</translation>
    </message>
    <message id="menu_back_down">
        <source>Back button press</source>
        <translation>後退鍵按下</translation>
    </message>
    <message id="menu_back_up">
        <source>Back button release</source>
        <translation>後退鍵彈起</translation>
    </message>
    <message id="menu_forward_click">
        <source>Forward button click</source>
        <translation>前進鍵單擊</translation>
    </message>
    <message id="menu_forward_down">
        <source>Forward button press</source>
        <translation>前進鍵按下</translation>
    </message>
    <message id="menu_forward_up">
        <source>Forward button release</source>
        <translation>前進鍵彈起</translation>
    </message>
    <message id="menu_left_click">
        <source>Left click</source>
        <translation>左鍵單擊</translation>
    </message>
    <message id="menu_left_down">
        <source>Left button press</source>
        <translation>左鍵按下</translation>
    </message>
    <message id="menu_left_up">
        <source>Left button release</source>
        <translation>左鍵彈起</translation>
    </message>
    <message id="menu_middle_click">
        <source>Middle click</source>
        <translation>中鍵單擊</translation>
    </message>
    <message id="menu_middle_down">
        <source>Middle button press</source>
        <translation>中鍵按下</translation>
    </message>
    <message id="menu_middle_up">
        <source>Middle button release</source>
        <translation>中鍵彈起</translation>
    </message>
    <message id="menu_right_click">
        <source>Right click</source>
        <translation>右鍵單擊</translation>
    </message>
    <message id="menu_right_down">
        <source>Right button press</source>
        <translation>右鍵按下</translation>
    </message>
    <message id="menu_right_up">
        <source>Right button release</source>
        <translation>右鍵彈起</translation>
    </message>
    <message id="message_text_2">
        <source>Keys of this profile use the macro. Delete it anyway? Those keys get their default function back.</source>
        <translation>目前設定檔中有按鍵使用了該巨集，仍要刪除嗎？這些按鍵將恢復預設功能。</translation>
    </message>
    <message id="message_text_28">
        <source>Create a new macro?</source>
        <translation>確定新增巨集嗎？</translation>
    </message>
    <message id="message_text_4">
        <source>Delete the selected macro?</source>
        <translation>確定刪除所選巨集嗎？</translation>
    </message>
    <message id="mouse_key_DPI_add">
        <source>DPI up</source>
        <translation>DPI 加</translation>
    </message>
    <message id="mouse_key_DPI_loop">
        <source>DPI cycle</source>
        <translation>DPI 循環</translation>
    </message>
    <message id="mouse_key_DPI_shift">
        <source>DPI shift</source>
        <translation>DPI 切換</translation>
    </message>
    <message id="mouse_key_DPI_sub">
        <source>DPI down</source>
        <translation>DPI 減</translation>
    </message>
    <message id="mouse_key_back">
        <source>Back</source>
        <translation>後退鍵</translation>
    </message>
    <message id="mouse_key_down_Swing">
        <source>Wheel down</source>
        <translation>滾輪向下</translation>
    </message>
    <message id="mouse_key_fire_key">
        <source>Fire</source>
        <translation>連發鍵</translation>
    </message>
    <message id="mouse_key_forward">
        <source>Forward</source>
        <translation>前進鍵</translation>
    </message>
    <message id="mouse_key_gun">
        <source>Gun key</source>
        <translation>壓槍鍵</translation>
    </message>
    <message id="mouse_key_left">
        <source>Left button</source>
        <translation>左鍵</translation>
    </message>
    <message id="mouse_key_left_Swing">
        <source>Swing left</source>
        <translation>向左擺動</translation>
    </message>
    <message id="mouse_key_middle">
        <source>Middle button</source>
        <translation>中鍵</translation>
    </message>
    <message id="mouse_key_right">
        <source>Right button</source>
        <translation>右鍵</translation>
    </message>
    <message id="mouse_key_right_Swing">
        <source>Swing right</source>
        <translation>向右擺動</translation>
    </message>
    <message id="mouse_key_shortcut_key">
        <source>Shortcut</source>
        <translation>快速鍵</translation>
    </message>
    <message id="mouse_key_smart_key">
        <source>Smart key</source>
        <translation>智慧鍵</translation>
    </message>
    <message id="mouse_key_up_Swing">
        <source>Wheel up</source>
        <translation>滾輪向上</translation>
    </message>
    <message id="mouse_move_to_down_text">
        <source>Down</source>
        <translation>向下</translation>
    </message>
    <message id="mouse_move_to_left_text">
        <source>Left</source>
        <translation>向左</translation>
    </message>
    <message id="mouse_move_to_right_text">
        <source>Right</source>
        <translation>向右</translation>
    </message>
    <message id="mouse_move_to_up_text">
        <source>Up</source>
        <translation>向上</translation>
    </message>
    <message id="redio_later_constant_time">
        <source>Record after it, fixed delay</source>
        <translation>在其後錄製（固定延時）</translation>
    </message>
    <message id="redio_later_ignore_time">
        <source>Record after it, no delay</source>
        <translation>在其後錄製（忽略延時）</translation>
    </message>
    <message id="redio_later_record_time">
        <source>Record after it</source>
        <translation>在其後錄製</translation>
    </message>
    <message id="redio_previous_constant_time">
        <source>Record before it, fixed delay</source>
        <translation>在其前錄製（固定延時）</translation>
    </message>
    <message id="redio_previous_ignore_time">
        <source>Record before it, no delay</source>
        <translation>在其前錄製（忽略延時）</translation>
    </message>
    <message id="redio_previous_record_time">
        <source>Record before it</source>
        <translation>在其前錄製</translation>
    </message>
    <message id="shoot_export_text">
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message id="shoot_import_text">
        <source>Import</source>
        <translation>匯入</translation>
    </message>
    <message id="shoot_reset_text">
        <source>Factory table</source>
        <translation>恢復原廠</translation>
    </message>
    <message id="shoot_title_text">
        <source>Recoil tables</source>
        <translation>壓槍設定</translation>
    </message>
    <message id="shoot_write_text">
        <source>Write to mouse</source>
        <translation>套用到滑鼠</translation>
    </message>
    <message id="show_window">
        <source>Show window</source>
        <translation>顯示視窗</translation>
    </message>
    <message id="system_power">
        <source>Power off</source>
        <translation>關機</translation>
    </message>
    <message id="system_sleep">
        <source>Sleep</source>
        <translation>睡眠</translation>
    </message>
    <message id="system_wake_up">
        <source>Wake up</source>
        <translation>喚醒</translation>
    </message>
    <message id="web_refresh">
        <source>Refresh</source>
        <translation>重新整理</translation>
    </message>
    <message id="web_search">
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message id="web_text">
        <source>Home page</source>
        <translation>首頁</translation>
    </message>
    <message id="wed_back">
        <source>Back</source>
        <translation>上一頁</translation>
    </message>
    <message id="wed_favorite">
        <source>Favourites</source>
        <translation>我的最愛</translation>
    </message>
    <message id="wed_forward">
        <source>Forward</source>
        <translation>下一頁</translation>
    </message>
    <message id="wed_stop">
        <source>Stop loading</source>
        <translation>停止載入</translation>
    </message>
    <message id="win_key_text">
        <source>Win key</source>
        <translation>Win 鍵</translation>
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
        <translation>左Ctrl</translation>
    </message>
    <message id="keyboard_key_LShift">
        <source>L Shift</source>
        <translation>左Shift</translation>
    </message>
    <message id="keyboard_key_LAlt">
        <source>L Alt</source>
        <translation>左Alt</translation>
    </message>
    <message id="keyboard_key_LWin">
        <source>L Win</source>
        <translation>左Win</translation>
    </message>
    <message id="keyboard_key_RCtrl">
        <source>R Ctrl</source>
        <translation>右Ctrl</translation>
    </message>
    <message id="keyboard_key_RShift">
        <source>R Shift</source>
        <translation>右Shift</translation>
    </message>
    <message id="keyboard_key_RAlt">
        <source>R Alt</source>
        <translation>右Alt</translation>
    </message>
    <message id="keyboard_key_RWin">
        <source>R Win</source>
        <translation>右Win</translation>
    </message>
    <message id="keyboard_key_Enter">
        <source>Enter</source>
        <translation>輸入</translation>
    </message>
    <message id="keyboard_key_Esc">
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message id="keyboard_key_BackSpace">
        <source>Backspace</source>
        <translation>退格</translation>
    </message>
    <message id="keyboard_key_Tab">
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message id="keyboard_key_Space">
        <source>Space</source>
        <translation>空白鍵</translation>
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
        <translation>大寫鎖定</translation>
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
        <translation>數字鍵輸入</translation>
    </message>
    <message id="keyboard_key_Decimal">
        <source>Num .</source>
        <translation>Num .</translation>
    </message>
    <message id="keyboard_key_App">
        <source>Menu</source>
        <translation>選單</translation>
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
        <translation>無變換</translation>
    </message>
    <message id="keyboard_key_K132">
        <source>Henkan</source>
        <translation>變換</translation>
    </message>
    <message id="keyboard_key_K133">
        <source>Kana</source>
        <translation>假名</translation>
    </message>
    <message id="keyboard_key_K150">
        <source>Hangul</source>
        <translation>韓/英</translation>
    </message>
    <message id="keyboard_key_K151">
        <source>Hanja</source>
        <translation>漢字</translation>
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
        <translation>遊戲</translation>
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
        <translation>無</translation>
    </message>
    <message id="light_kb_mode_1">
        <source>Wave</source>
        <translation>波浪</translation>
    </message>
    <message id="light_kb_mode_2">
        <source>Slow wave</source>
        <translation>慢速波浪</translation>
    </message>
    <message id="light_kb_mode_3">
        <source>Snake</source>
        <translation>蛇形</translation>
    </message>
    <message id="light_kb_mode_4">
        <source>Spectrum</source>
        <translation>光譜循環</translation>
    </message>
    <message id="light_kb_mode_5">
        <source>Breathing</source>
        <translation>呼吸</translation>
    </message>
    <message id="light_kb_mode_6">
        <source>Rings</source>
        <translation>光環</translation>
    </message>
    <message id="light_kb_mode_7">
        <source>Reactive</source>
        <translation>按鍵觸發</translation>
    </message>
    <message id="light_kb_mode_8">
        <source>Ripple</source>
        <translation>漣漪</translation>
    </message>
    <message id="light_kb_mode_9">
        <source>Row ripple</source>
        <translation>橫向漣漪</translation>
    </message>
    <message id="light_kb_mode_10">
        <source>Twinkle</source>
        <translation>星光閃爍</translation>
    </message>
    <message id="light_kb_mode_11">
        <source>Rainbow keys</source>
        <translation>彩虹按鍵</translation>
    </message>
    <message id="light_kb_mode_12">
        <source>Row wave</source>
        <translation>橫向波浪</translation>
    </message>
    <message id="light_kb_mode_13">
        <source>Fountain</source>
        <translation>噴泉</translation>
    </message>
    <message id="light_kb_mode_14">
        <source>Light show</source>
        <translation>燈光秀</translation>
    </message>
    <message id="light_kb_mode_15">
        <source>Rain</source>
        <translation>雨滴</translation>
    </message>
    <message id="light_kb_mode_16">
        <source>Bouncing diamonds</source>
        <translation>彈跳菱形</translation>
    </message>
    <message id="light_kb_mode_17">
        <source>Single colour</source>
        <translation>單色</translation>
    </message>
    <message id="light_kb_mode_18">
        <source>Rotating rings</source>
        <translation>旋轉光環</translation>
    </message>
    <message id="light_kb_mode_19">
        <source>Own effect</source>
        <translation>自訂效果</translation>
    </message>
    <message id="light_kb_mode_20">
        <source>Custom colours</source>
        <translation>自訂顏色</translation>
    </message>
    <message id="light_kb_mode_21">
        <source>Travelling dot</source>
        <translation>流星</translation>
    </message>
    <message id="light_kb_mode_22">
        <source>Colour pulses</source>
        <translation>彩色脈衝</translation>
    </message>
    <message id="light_kb_mode_23">
        <source>Blink</source>
        <translation>閃爍</translation>
    </message>
    <message id="light_kb_mode_24">
        <source>Trails</source>
        <translation>拖尾</translation>
    </message>
    <message id="light_kb_mode_25">
        <source>Ripple while held</source>
        <translation>按住漣漪</translation>
    </message>
    <message id="light_kb_mode_26">
        <source>Breathing colours</source>
        <translation>多色呼吸</translation>
    </message>
    <message id="light_kb_mode_27">
        <source>Blinking colours</source>
        <translation>多色閃爍</translation>
    </message>
    <message id="light_kb_mode_28">
        <source>Off</source>
        <translation>關閉</translation>
    </message>
    <message id="light_kb_mode_29">
        <source>Music</source>
        <translation>音樂律動</translation>
    </message>
    <message id="light_kb_mode_30">
        <source>Colour input</source>
        <translation>顏色輸入</translation>
    </message>
    <message id="keyboard_switches_title">
        <source>Keys</source>
        <translation>按鍵開關</translation>
    </message>
    <message id="winlock_label">
        <source>Win key</source>
        <translation>Win 鍵</translation>
    </message>
    <message id="winlock_text">
        <source>Lock</source>
        <translation>鎖定</translation>
    </message>
    <message id="wflag_label">
        <source>WASD</source>
        <translation>WASD</translation>
    </message>
    <message id="wflag_text">
        <source>Swap with the arrow keys</source>
        <translation>與方向鍵互換</translation>
    </message>
    <message id="key6_label">
        <source>Rollover</source>
        <translation>無衝</translation>
    </message>
    <message id="key6_text">
        <source>6-key mode</source>
        <translation>6 鍵模式</translation>
    </message>
    <message id="keyboard_report_rate_title">
        <source>Report rate</source>
        <translation>回報率</translation>
    </message>
    <message id="keyboard_repeat_title">
        <source>Key repeat</source>
        <translation>按鍵重複</translation>
    </message>
    <message id="repeat_delay_label">
        <source>Delay</source>
        <translation>延遲</translation>
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
        <translation>重複延遲</translation>
    </message>
    <message id="repeat_rate_label">
        <source>Rate</source>
        <translation>速度</translation>
    </message>
    <message id="repeat_test_label">
        <source>Try it</source>
        <translation>測試</translation>
    </message>
    <message id="Repeat_input_text">
        <source>Hold a key here to try the repeat</source>
        <translation>在此按住一個鍵試試重複效果</translation>
    </message>
    <message id="repeat_reset_text">
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message id="about_keys_label">
        <source>Key positions</source>
        <translation>按鍵數</translation>
    </message>
    <message id="keyboard_not_connected">
        <source>The keyboard is not connected.</source>
        <translation>鍵盤未連接</translation>
    </message>
    <message id="feature_not_on_keyboard">
        <source>This keyboard has no settings here.</source>
        <translation>此鍵盤沒有這項設定。</translation>
    </message>
    <message id="close_text">
        <source>Off</source>
        <translation>關閉</translation>
    </message>
    <message id="skin_image_text">
        <source>Pictures</source>
        <translation>圖片</translation>
    </message>
    <message id="skin_color_text">
        <source>Colours</source>
        <translation>顏色</translation>
    </message>
    <message id="skin_reset_text">
        <source>Default</source>
        <translation>預設</translation>
    </message>
    <message id="skin_custom_text">
        <source>Your own picture…</source>
        <translation>自訂圖片…</translation>
    </message>
    <message id="skin_custom_title">
        <source>Choose a background picture</source>
        <translation>選擇背景圖片</translation>
    </message>
    <message id="skin_custom_filter">
        <source>PNG pictures (*.png);;All files (*)</source>
        <translation>PNG 圖片 (*.png);;所有檔案 (*)</translation>
    </message>
    <message id="device_settings_missing">
        <source>%1 is not installed, so these settings cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>未安裝 %1，無法從此處開啟這些設定。請在桌面系統的設定中開啟。</translation>
    </message>
    <message id="device_settings_unknown_0">
        <source>The keyboard settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>無法從此處開啟此桌面系統的鍵盤設定。請在桌面系統的設定中開啟。</translation>
    </message>
    <message id="device_settings_unknown_1">
        <source>The mouse settings of this desktop cannot be opened from here. Please open them in the settings of your desktop.</source>
        <translation>無法從此處開啟此桌面系統的滑鼠設定。請在桌面系統的設定中開啟。</translation>
    </message>
    <message id="tip_device_prev">
        <source>Previous device</source>
        <translation>上一個裝置</translation>
    </message>
    <message id="tip_device_next">
        <source>Next device</source>
        <translation>下一個裝置</translation>
    </message>
    <message id="palette_title_text">
        <source>Colour palette</source>
        <translation>調色盤</translation>
    </message>
    <message id="palette_chosen_text">
        <source>Chosen colour</source>
        <translation>已選顏色</translation>
    </message>
    <message id="palette_preset_text">
        <source>Preset colours</source>
        <translation>預設顏色</translation>
    </message>
    <message id="palette_collect_text">
        <source>My colours</source>
        <translation>我的顏色</translation>
    </message>
    <message id="palette_seven_colour_text">
        <source>Seven colours</source>
        <translation>七彩</translation>
    </message>
    <message id="palette_ok_text">
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message id="palette_cancel_text">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="music_title_text">
        <source>Music styles</source>
        <translation>音樂風格</translation>
    </message>
    <message id="music_style_1_text">
        <source>Style 1</source>
        <translation>風格一</translation>
    </message>
    <message id="music_style_2_text">
        <source>Style 2</source>
        <translation>風格二</translation>
    </message>
    <message id="music_style_3_text">
        <source>Style 3</source>
        <translation>風格三</translation>
    </message>
    <message id="music_style_4_text">
        <source>Style 4</source>
        <translation>風格四</translation>
    </message>
    <message id="audio_no_sound_server_text">
        <source>No sound reaches the audio light: no sound server is running for this user. Start one and the light follows the music again.</source>
        <translation>音訊燈效聽不到聲音：目前使用者沒有執行聲音伺服器。啟動後燈光會再次跟隨音樂。</translation>
    </message>
    <message id="audio_capture_missing_text">
        <source>The audio light cannot listen: the program q407-audio-capture could not be started. Please reinstall Q407.</source>
        <translation>音訊燈效無法收聽：無法啟動 q407-audio-capture 程式。請重新安裝 Q407。</translation>
    </message>
    <message id="light_audio_background_text">
        <source>Background</source>
        <translation>背景色</translation>
    </message>
    <message id="light_audio_foreground_text">
        <source>Foreground</source>
        <translation>前景色</translation>
    </message>
    <message id="light_audio_seven_text">
        <source>Seven colours</source>
        <translation>七彩</translation>
    </message>
    <message id="light_audio_no_background_text">
        <source>No background</source>
        <translation>關閉背景色</translation>
    </message>
    <message id="light_audio_styles_text">
        <source>Music styles</source>
        <translation>音樂風格</translation>
    </message>
    <message id="light_audio_mode_0">
        <source>Rising columns</source>
        <translation>柱狀跳動</translation>
    </message>
    <message id="light_audio_mode_1">
        <source>Bars from the middle</source>
        <translation>中心展開</translation>
    </message>
    <message id="light_audio_mode_2">
        <source>Ripples on the beat</source>
        <translation>節拍漣漪</translation>
    </message>
    <message id="light_audio_mode_3">
        <source>Rings by loudness</source>
        <translation>音量光環</translation>
    </message>
    <message id="light_audio_mode_4">
        <source>Falling peaks</source>
        <translation>峰值下落</translation>
    </message>
    <message id="light_audio_mode_5">
        <source>Bars from the left</source>
        <translation>左側展開</translation>
    </message>
    <message id="light_audio_mode_6">
        <source>Alternating bars</source>
        <translation>交替展開</translation>
    </message>
    <message id="light_client_status_text">
        <source>A lighting program is controlling these lights.</source>
        <translation>燈光正由其他燈光程式控制。</translation>
    </message>
    <message id="sdk_server_check_text">
        <source>OpenRGB SDK server for lighting programs (port 6742)</source>
        <translation>為燈光程式開啟 OpenRGB SDK 伺服器（連接埠 6742）</translation>
    </message>
</context>
</TS>
