// IDs of the test runner's own dialog, used to exercise the class library.
#pragma once

#define IDD_TEST_DIALOG 9000
#define IDC_TEST_EDIT 9001
#define IDC_TEST_SLIDER 9002
#define IDC_TEST_RADIO1 9003
#define IDC_TEST_RADIO2 9004
#define IDC_TEST_RADIO3 9005
#define IDC_TEST_OTHER_GROUP 9006
#define IDC_TEST_COMMAND 9100
