-- Linux System Administration Fundamentals: the sample exam of the Ziduver
-- installation. ziduver-mkdata runs this file in one transaction on an empty
-- exam database of the current layout; images are in images/ and scenario
-- pages in Scenario/ beside the exam database.
--
-- Line breaks inside texts are CR LF (char(13,10)), as the exam window turns
-- CR LF into <BR>. Question texts and explanations are HTML and may hold an
-- image marker (three slashes, image=FILE, three slashes) for a file in images/.
--
-- How the answers are stored, per kind of question:
--   multiple choice  Qe_AnswerChoice: one row per choice, Qc_Choice_Seq 1 to 7,
--                    Qc_RightAns 1 for each right choice (two or more right
--                    choices give check boxes instead of radio buttons).
--   essay            QQ_CorrectAnswer holds the model answer; Qe_AnswerFill_Essay
--                    holds one row per key idea, alternatives separated by "|";
--                    the essay is right when every row has a match in it.
--   fill in          Qe_AnswerFill_Essay: one row per blank, in the order of the
--                    boxes; alternatives separated by "|" with no blanks around it.
--   ordered list     Qe_AnswerInteractive, Qi_RootText NULL: Qi_LeftPane_Item is
--                    the item offered at place Qi_LeftPane_Seq (shuffled),
--                    Qi_RightPane_Item the item that belongs at place
--                    Qi_RightPane_Seq of the right order.
--   tree             Qe_AnswerInteractive, Qi_RootText set on every row:
--                    Qi_LeftPane_Item/Seq the nodes (empty on rows that only
--                    carry a leaf), Qi_RightPane_Item/Seq the leaves offered;
--                    Qe_InteractiveRightAnswer: one row per right leaf,
--                    Qa_ans_node_Seq = the node's Qi_LeftPane_Seq,
--                    Qa_LeftText the leaf, Qa_RightTEXT the node's text.
--   select and place Qe_AnswerInteractive, Qi_RootText NULL: Qi_LeftPane_Item
--                    the items offered (shuffled), Qi_RightPane_Item the places
--                    in order; Qe_InteractiveRightAnswer: one row per place in
--                    order, Qa_LeftText the place, Qa_RightTEXT the item that
--                    belongs there.
-- Item, node and leaf texts never hold "," or "#": the page reports answers
-- joined by them.

INSERT INTO Qe_Exam (Qe_ExamCode, Qe_Exam_Desc, Qe_ValidDB, Qe_Simulated_Time, Qe_Simulated_PassScore,
    Qe_Simulated_NoofQuest, Qe_Adaptive_Time, Qe_Adaptive_PassScore, Qe_Adaptive_NoofQuest, Qe_ProductId,
    Qe_Version_No, Qe_ExamComment)
VALUES ('LSA101', 'Linux System Administration Fundamentals', 1, 60, 70, 40, 45, 70, 30, 'ZDV-LSA', '1.0',
    'Linux System Administration Fundamentals - sample exam' || char(13,10) || 'Written for the Ziduver sample installation.' || char(13,10) || '' || char(13,10) || 'Questions, explanations, scenarios and diagrams: the Ziduver team.' || char(13,10) || 'The exam covers booting, files and storage, users and processes, networking and security, and the shell.' || char(13,10) || 'Manual page links point to the man-pages project.');

-- Points per difficulty (Qq_Difficulty = Qp_pointNumber).
INSERT INTO Qe_Points (Qp_pointNumber, qp_pointValue) VALUES (1, 1), (2, 2), (3, 3);

-- Categories with the simulated exam's directives: Qc_Perc_Of_Questions is the
-- number of questions drawn from the category (they add up to
-- Qe_Simulated_NoofQuest), the four type columns are the most of each type.
INSERT INTO Qe_Category (Qc_catcode, Qc_cat_desc, Qc_Selected, Qc_Perc_Of_Questions, Qc_mChoice, qc_essay,
    qc_fill, qc_interact) VALUES
    (1, 'System Architecture and Boot', 1, 8, 5, 1, 1, 1),
    (2, 'Files, Permissions and Storage', 1, 8, 5, 1, 1, 1),
    (3, 'Users, Processes and Services', 1, 8, 5, 1, 1, 1),
    (4, 'Networking and Security', 1, 8, 5, 1, 1, 1),
    (5, 'Shell and Scripting', 1, 8, 5, 1, 1, 1);

-- Chapters (codes are unique over the whole exam; questions with chapter 0 sit
-- directly under their category).
INSERT INTO Qe_Chapters (Qc_ChapterCode, Qc_catcode, Qc_Chapter_Desc, Qc_Selected) VALUES
    (11, 1, 'Boot Process and systemd Targets', 1),
    (12, 1, 'Kernel, Modules and Hardware', 1),
    (21, 2, 'Filesystem Hierarchy and Links', 1),
    (22, 2, 'Permissions and Ownership', 1),
    (23, 2, 'Disks, Filesystems and LVM', 1),
    (31, 3, 'Users and Groups', 1),
    (32, 3, 'Processes and Signals', 1),
    (33, 3, 'systemd Services and Logging', 1),
    (41, 4, 'Network Configuration', 1),
    (42, 4, 'SSH, Firewall and Hardening', 1),
    (51, 5, 'Command Line, Pipes and Redirection', 1),
    (52, 5, 'Shell Scripts and Scheduling', 1);

-- Scenario pages, relative to the Scenario folder beside the exam database.
INSERT INTO Qe_ScenarioContent (Qs_ScenarioId, Qs_ScenarioPath) VALUES (1, 'webserver-outage.htm'), (2, 'new-hire.htm');

-- Web links of the main window's menu: Ql_UserCode 0 = first level, otherwise the
-- Ql_SerNo of the first-level link whose list the row belongs to. [localpath]
-- stands for the program folder.
INSERT INTO Qe_UserLinks (Ql_SerNo, Ql_UserCode, Ql_linkCaption, Ql_LinkPath) VALUES
    (1, 0, 'Linux documentation', 'https://www.kernel.org/doc/html/latest/'),
    (2, 0, 'Filesystem Hierarchy Standard', 'https://refspecs.linuxfoundation.org/fhs.shtml'),
    (3, 0, 'Study resources', NULL),
    (4, 0, 'Ziduver help', '[localpath]ZiduverHelp.htm'),
    (5, 1, 'Linux man-pages project', 'https://man7.org/linux/man-pages/'),
    (6, 1, 'The Linux kernel user and administrator guide', 'https://www.kernel.org/doc/html/latest/admin-guide/'),
    (7, 1, 'systemd documentation', 'https://systemd.io/'),
    (8, 3, 'Debian Administrator''s Handbook', 'https://debian-handbook.info/'),
    (9, 3, 'Bash reference manual', 'https://www.gnu.org/software/bash/manual/'),
    (10, 3, 'OpenSSH manual pages', 'https://www.openssh.com/manual.html');

-- Question 1 (category 1, chapter 11, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (1, 1, 11, 1, 0, 1, 0, 0,
    'The diagram shows the boot sequence of a current Linux system.' || char(13,10) || '///image=boot-sequence.gif///' || char(13,10) || 'Which program does the kernel start as the first process (PID 1) on most current distributions?',
    'The kernel starts one user-space program as PID 1; on Debian, Ubuntu, Fedora, RHEL and SUSE this is systemd, which then starts every other service. GRUB runs before the kernel, and udev is one of the services that systemd starts. See <a href="https://man7.org/linux/man-pages/man1/systemd.1.html">systemd(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (1, 1, 'udev', 0),
    (1, 2, 'GRUB', 0),
    (1, 3, 'systemd', 1),
    (1, 4, 'The initramfs', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (1, 1, 1, 'a', '1', 0);

-- Question 2 (category 1, chapter 11, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (2, 1, 11, 1, 0, 2, 0, 0,
    'On a Debian system, which file holds the GRUB 2 menu that the boot loader actually reads?' || char(13,10) || 'You are not supposed to edit this file by hand.',
    '<b>/boot/grub/grub.cfg</b> is generated by <code>update-grub</code> (grub-mkconfig) from /etc/default/grub and the scripts in /etc/grub.d. Edit those inputs, then regenerate the file.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (2, 1, '/boot/vmlinuz', 0),
    (2, 2, '/boot/grub/grub.cfg', 1),
    (2, 3, '/etc/grub.conf', 0),
    (2, 4, '/etc/default/grub', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (2, 1, 1, 'b', '1', 0);

-- Question 3 (category 1, chapter 11, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (3, 1, 11, 1, 0, 2, 0, 0,
    'You want to boot a systemd machine once into single-user rescue mode. Which parameter do you add to the kernel command line in the GRUB editor?',
    'systemd reads <code>systemd.unit=</code> from the kernel command line and starts that target instead of the default one. The older shorthand <code>single</code> or <code>1</code> also maps to rescue.target. See <a href="https://man7.org/linux/man-pages/man7/kernel-command-line.7.html">kernel-command-line(7)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (3, 1, 'init=rescue', 0),
    (3, 2, 'runlevel=S', 0),
    (3, 3, 'systemd.unit=rescue.target', 1),
    (3, 4, 'rescue=yes', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (3, 1, 1, 'b', '1', 0);

-- Question 4 (category 1, chapter 11, difficulty 2): multiple choice, 6 choices, 3 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (4, 1, 11, 1, 0, 2, 0, 0,
    'Which of the following are targets that systemd itself provides? (Choose three.)',
    'multi-user.target, graphical.target and rescue.target are standard targets described in <a href="https://man7.org/linux/man-pages/man7/systemd.special.7.html">systemd.special(7)</a>. The other names are made up.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (4, 1, 'desktop.target', 0),
    (4, 2, 'multi-user.target', 1),
    (4, 3, 'rescue.target', 1),
    (4, 4, 'graphical.target', 1),
    (4, 5, 'network-manager.target', 0),
    (4, 6, 'server.target', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (4, 1, 1, 'b', '1', 0);

-- Question 5 (category 1, chapter 11, difficulty 1): fill in the blank, 1 blank
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (5, 1, 11, 3, 0, 1, 0, 0,
    'Complete the command that prints the default target the system boots into:' || char(13,10) || '' || char(13,10) || 'systemctl ______',
    '<code>systemctl get-default</code> prints the target that default.target points to; <code>systemctl set-default multi-user.target</code> changes it.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (5, 'get-default');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (5, 1, 1, 'a', '1', 0);

-- Question 6 (category 1, chapter 11, difficulty 2): ordered list
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (6, 1, 11, 4, 1, 2, 0, 0,
    'Put the stages of a Linux boot in the order in which they happen.',
    '///image=boot-sequence.gif///' || char(13,10) || 'Firmware (UEFI or BIOS) runs first and hands over to the boot loader. GRUB loads the kernel and the initramfs; the kernel mounts the real root filesystem with the help of the initramfs and starts systemd, which brings up the default target.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (6, 'systemd starts as PID 1', 1, 'Firmware initialises the hardware', 1, NULL),
    (6, 'Firmware initialises the hardware', 2, 'The boot loader loads the kernel and initramfs', 2, NULL),
    (6, 'The units of the default target are started', 3, 'The kernel starts its drivers and unpacks the initramfs', 3, NULL),
    (6, 'The kernel starts its drivers and unpacks the initramfs', 4, 'systemd starts as PID 1', 4, NULL),
    (6, 'The boot loader loads the kernel and initramfs', 5, 'The units of the default target are started', 5, NULL);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (6, 1, 1, 'b', '1', 0);

-- Question 7 (category 1, chapter 12, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (7, 1, 12, 1, 0, 1, 0, 0,
    'Which command prints the release of the running kernel, for example 6.1.0-18-amd64?',
    '<code>uname -r</code> prints the kernel release; <code>uname -m</code> prints the machine architecture and /etc/os-release describes the distribution, not the kernel. See <a href="https://man7.org/linux/man-pages/man1/uname.1.html">uname(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (7, 1, 'cat /etc/os-release', 0),
    (7, 2, 'uname -m', 0),
    (7, 3, 'lsmod', 0),
    (7, 4, 'uname -r', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (7, 1, 2, 'a', '1', 0);

-- Question 8 (category 1, chapter 12, difficulty 2): multiple choice, 5 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (8, 1, 12, 1, 0, 2, 0, 0,
    'Which command loads a kernel module together with the modules it depends on?',
    '<code>modprobe</code> reads modules.dep (written by depmod) and loads the dependencies first. <code>insmod</code> loads exactly one file and fails when a dependency is missing. See <a href="https://man7.org/linux/man-pages/man8/modprobe.8.html">modprobe(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (8, 1, 'lsmod', 0),
    (8, 2, 'modprobe', 1),
    (8, 3, 'insmod', 0),
    (8, 4, 'rmmod', 0),
    (8, 5, 'depmod', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (8, 1, 2, 'b', '1', 0);

-- Question 9 (category 1, chapter 12, difficulty 3): multiple choice, 7 choices, 2 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (9, 1, 12, 1, 0, 3, 0, 0,
    'Which of these directories are virtual filesystems through which the kernel shows its state and the hardware it has found? (Choose two.)',
    '/proc (procfs) shows processes and kernel tunables, /sys (sysfs) shows devices, drivers and buses. Nothing in them is stored on disk. See <a href="https://man7.org/linux/man-pages/man5/proc.5.html">proc(5)</a> and <a href="https://man7.org/linux/man-pages/man5/sysfs.5.html">sysfs(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (9, 1, '/home', 0),
    (9, 2, '/etc', 0),
    (9, 3, '/var', 0),
    (9, 4, '/proc', 1),
    (9, 5, '/usr', 0),
    (9, 6, '/sys', 1),
    (9, 7, '/boot', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (9, 1, 2, 'c', '1', 0);

-- Question 10 (category 1, chapter 12, difficulty 2): fill in the blank, 2 blanks
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (10, 1, 12, 3, 0, 2, 0, 0,
    'Fill in the two commands:' || char(13,10) || '' || char(13,10) || '1. The command that lists the devices on the PCI bus is ______.' || char(13,10) || '2. The command that lists the devices on the USB buses is ______.',
    'Both come from small packages (pciutils and usbutils) and read their data from /sys. See <a href="https://man7.org/linux/man-pages/man8/lspci.8.html">lspci(8)</a> and <a href="https://man7.org/linux/man-pages/man8/lsusb.8.html">lsusb(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (10, 'lspci|lspci -v|lspci -nn'),
    (10, 'lsusb|lsusb -v|lsusb -t');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (10, 1, 2, 'b', '1', 0);

-- Question 11 (category 1, chapter 12, difficulty 3): essay
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (11, 1, 12, 2, 0, 3, 0, 0,
    'Explain what an initramfs is and why most Linux systems need one to boot.',
    'An essay is judged right when it mentions each key idea: the initramfs (or initrd) itself, the root filesystem, and the drivers or modules it carries. See <a href="https://man7.org/linux/man-pages/man7/initramfs-tools.7.html">initramfs-tools(7)</a>.',
    'An initramfs (initial RAM filesystem) is a small compressed archive that the boot loader loads into memory together with the kernel. The kernel unpacks it and runs its init program before the real root filesystem is available. It holds the kernel modules (drivers) and tools that are needed to reach the root filesystem: storage and filesystem drivers, RAID, LVM or disk encryption tools. Distribution kernels keep most drivers as modules, so without the initramfs the kernel could not mount the root filesystem and the boot would stop.');
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (11, 'initramfs|initial ram|initrd'),
    (11, 'root filesystem|root file system|rootfs|root partition'),
    (11, 'module|driver');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (11, 1, 2, 'c', '1', 0);

-- Question 12 (category 1, chapter 12, difficulty 1): multiple choice, 3 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (12, 1, 12, 1, 0, 1, 0, 0,
    'What does the command <code>dmesg</code> print?',
    'dmesg reads the kernel''s ring buffer: driver messages, hardware detection and kernel warnings. journalctl -k shows the same messages from the journal. See <a href="https://man7.org/linux/man-pages/man1/dmesg.1.html">dmesg(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (12, 1, 'The list of mounted filesystems', 0),
    (12, 2, 'The whole systemd journal of the previous boot', 0),
    (12, 3, 'The messages in the kernel ring buffer', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (12, 1, 2, 'a', '1', 0);

-- Question 13 (category 1, chapter 0, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (13, 1, 0, 1, 0, 2, 0, 0,
    'Which command powers a systemd machine off cleanly, stopping every service first?',
    '<code>systemctl poweroff</code> stops all units in order and then turns the power off. The SysRq trigger powers off at once without stopping services, and killing PID 1 makes the kernel panic.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (13, 1, 'echo o &gt; /proc/sysrq-trigger', 0),
    (13, 2, 'systemctl poweroff', 1),
    (13, 3, 'systemctl suspend', 0),
    (13, 4, 'kill -9 1', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (13, 1, 0, 'b', '1', 0);

-- Question 14 (category 1, chapter 0, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (14, 1, 0, 1, 0, 1, 0, 0,
    'Which systemd target matches the old SysV runlevel 3 (multi-user, text console, networking)?',
    'Runlevel 3 maps to multi-user.target and runlevel 5 to graphical.target; the links runlevel3.target and runlevel5.target exist for compatibility.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (14, 1, 'rescue.target', 0),
    (14, 2, 'graphical.target', 0),
    (14, 3, 'multi-user.target', 1),
    (14, 4, 'emergency.target', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (14, 1, 0, 'a', '1', 0);

-- Question 15 (category 1, chapter 0, difficulty 3): tree
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (15, 1, 0, 4, 2, 3, 0, 0,
    'Place each task under the boot stage that performs it.',
    'The firmware tests the hardware and finds the boot loader on the EFI system partition (or in the MBR). GRUB shows its menu and hands the kernel its command line. The kernel initialises the drivers and mounts the root filesystem before it starts PID 1.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (15, 'Firmware', 1, 'Shows the boot menu', 1, 'Boot stages'),
    (15, 'Boot loader', 2, 'Initialises device drivers', 2, 'Boot stages'),
    (15, 'Kernel', 3, 'Runs the power-on self test', 3, 'Boot stages'),
    (15, '', 4, 'Mounts the root filesystem', 4, 'Boot stages'),
    (15, '', 5, 'Passes the command line to the kernel', 5, 'Boot stages'),
    (15, '', 6, 'Finds the EFI system partition', 6, 'Boot stages');
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (15, 'Runs the power-on self test', 1, 'Firmware', 1),
    (15, 'Finds the EFI system partition', 2, 'Firmware', 1),
    (15, 'Shows the boot menu', 3, 'Boot loader', 2),
    (15, 'Passes the command line to the kernel', 4, 'Boot loader', 2),
    (15, 'Initialises device drivers', 5, 'Kernel', 3),
    (15, 'Mounts the root filesystem', 6, 'Kernel', 3);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (15, 1, 0, 'c', '1', 0);

-- Question 16 (category 1, chapter 11, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (16, 1, 11, 1, 0, 2, 0, 0,
    'Which journalctl option limits the output to messages logged since the current boot?',
    '<code>journalctl -b</code> shows the current boot, <code>-b -1</code> the previous one. <code>-f</code> follows new messages, <code>-u</code> selects a unit and <code>-r</code> reverses the order. See <a href="https://man7.org/linux/man-pages/man1/journalctl.1.html">journalctl(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (16, 1, '-u', 0),
    (16, 2, '-b', 1),
    (16, 3, '-f', 0),
    (16, 4, '-r', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (16, 1, 1, 'b', '1', 0);

-- Question 17 (category 1, chapter 12, difficulty 2): select and place
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (17, 1, 12, 4, 3, 2, 0, 0,
    'Place each command beside the information it reports.',
    'All four commands read /proc or /sys: lsmod shows /proc/modules, lsblk the block devices, lscpu /proc/cpuinfo in a table, and lspci the PCI devices.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (17, 'lspci', 1, 'Loaded kernel modules', 1, NULL),
    (17, 'lsblk', 2, 'Block devices and their partitions', 2, NULL),
    (17, 'lsmod', 3, 'CPU model and architecture', 3, NULL),
    (17, 'lscpu', 4, 'Devices on the PCI bus', 4, NULL);
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (17, 'Loaded kernel modules', 1, 'lsmod', 1),
    (17, 'Block devices and their partitions', 2, 'lsblk', 2),
    (17, 'CPU model and architecture', 3, 'lscpu', 3),
    (17, 'Devices on the PCI bus', 4, 'lspci', 4);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (17, 1, 2, 'b', '1', 0);

-- Question 18 (category 2, chapter 21, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (18, 2, 21, 1, 0, 1, 0, 0,
    '///image=fhs-tree.jpg///' || char(13,10) || 'According to the Filesystem Hierarchy Standard, where are host-specific system-wide configuration files kept?',
    '/etc holds the host''s configuration. /usr holds shareable, read-only programs and data, /var variable data such as logs and spools, and /opt add-on software packages. See <a href="https://man7.org/linux/man-pages/man7/hier.7.html">hier(7)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (18, 1, '/usr', 0),
    (18, 2, '/var', 0),
    (18, 3, '/etc', 1),
    (18, 4, '/opt', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (18, 2, 1, 'a', '1', 0);

-- Question 19 (category 2, chapter 21, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (19, 2, 21, 1, 0, 2, 0, 0,
    'Which statement about hard links is true?',
    'All hard links are equal names of one inode, which holds the permissions and data; the data is freed when the last name is removed. Hard links cannot cross filesystems; symbolic links can. See <a href="https://man7.org/linux/man-pages/man1/ln.1.html">ln(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (19, 1, 'A hard link can point to a file on another filesystem', 0),
    (19, 2, 'Each hard link has its own permissions', 0),
    (19, 3, 'A hard link is another directory entry for the same inode', 1),
    (19, 4, 'Deleting the original name breaks every hard link to the file', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (19, 2, 1, 'b', '1', 0);

-- Question 20 (category 2, chapter 21, difficulty 1): fill in the blank, 1 blank
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (20, 2, 21, 3, 0, 1, 0, 0,
    'Complete the command that creates a symbolic link named <b>latest</b> that points to <b>release-2.4</b>:' || char(13,10) || '' || char(13,10) || '______ release-2.4 latest',
    '<code>ln -s TARGET LINK_NAME</code> creates a symbolic link; without -s, ln creates a hard link.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (20, 'ln -s|ln --symbolic|ln -sf|ln -sfn');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (20, 2, 1, 'a', '1', 0);

-- Question 21 (category 2, chapter 21, difficulty 2): multiple choice, 6 choices, 3 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (21, 2, 21, 1, 0, 2, 0, 0,
    'Which directories usually hold data that grows and changes while the system runs? (Choose three.)',
    'Logs, mail and print spools and temporary files change all the time. /usr/bin, /etc and /boot change only when software or configuration is changed, which is why /usr can even be mounted read-only.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (21, 1, '/boot', 0),
    (21, 2, '/var/spool', 1),
    (21, 3, '/usr/bin', 0),
    (21, 4, '/var/log', 1),
    (21, 5, '/tmp', 1),
    (21, 6, '/etc', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (21, 2, 1, 'b', '1', 0);

-- Question 22 (category 2, chapter 21, difficulty 2): tree
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (22, 2, 21, 4, 2, 2, 0, 0,
    'Sort the files into the directory where a Debian system keeps them.',
    'Configuration (fstab, passwd) lives in /etc, log files in /var/log and user commands in /usr/bin. See the <a href="https://refspecs.linuxfoundation.org/fhs.shtml">Filesystem Hierarchy Standard</a>.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (22, '/etc', 1, 'auth.log', 1, '/'),
    (22, '/var/log', 2, 'grep', 2, '/'),
    (22, '/usr/bin', 3, 'fstab', 3, '/'),
    (22, '', 4, 'ssh', 4, '/'),
    (22, '', 5, 'syslog', 5, '/'),
    (22, '', 6, 'passwd', 6, '/');
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (22, 'fstab', 1, '/etc', 1),
    (22, 'passwd', 2, '/etc', 1),
    (22, 'syslog', 3, '/var/log', 2),
    (22, 'auth.log', 4, '/var/log', 2),
    (22, 'grep', 5, '/usr/bin', 3),
    (22, 'ssh', 6, '/usr/bin', 3);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (22, 2, 1, 'b', '1', 0);

-- Question 23 (category 2, chapter 22, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (23, 2, 22, 1, 0, 1, 0, 0,
    'A file gets its mode with <code>chmod 754 file</code>:' || char(13,10) || '///image=permissions.png///' || char(13,10) || 'What may members of the file''s group do with it?',
    'Each octal digit is the sum of read (4), write (2) and execute (1). The middle digit 5 = 4 + 1 gives the group read and execute. See <a href="https://man7.org/linux/man-pages/man1/chmod.1.html">chmod(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (23, 1, 'Read and execute it', 1),
    (23, 2, 'Read, write and execute it', 0),
    (23, 3, 'Only read it', 0),
    (23, 4, 'Read and write it', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (23, 2, 2, 'a', '1', 0);

-- Question 24 (category 2, chapter 22, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (24, 2, 22, 1, 0, 2, 0, 0,
    'Which command gives a file the permissions <code>rw-r-----</code>?',
    'rw- = 6 for the owner, r-- = 4 for the group and --- = 0 for others: 640.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (24, 1, 'chmod 750 file', 0),
    (24, 2, 'chmod 460 file', 0),
    (24, 3, 'chmod 640 file', 1),
    (24, 4, 'chmod 644 file', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (24, 2, 2, 'b', '1', 0);

-- Question 25 (category 2, chapter 22, difficulty 3): multiple choice, 5 choices, 3 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (25, 2, 22, 1, 0, 3, 0, 0,
    'A directory is listed as <code>drwxrwxrwt</code>. Which statements are true? (Choose three.)',
    'rwx for everyone lets every user create files; the sticky bit (the final t) stops users from removing or renaming other users'' files. Taking the directory''s group is the job of the setgid bit, shown as s in the group triplet.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (25, 1, 'New files in it take the group of the directory', 0),
    (25, 2, 'This is the usual mode of /tmp', 1),
    (25, 3, 'Every user can create files in it', 1),
    (25, 4, 'Only root can list its contents', 0),
    (25, 5, 'Users can delete only their own files in it', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (25, 2, 2, 'c', '1', 0);

-- Question 26 (category 2, chapter 22, difficulty 2): fill in the blank, 2 blanks
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (26, 2, 22, 3, 0, 2, 0, 0,
    'Complete the command that makes <b>alice</b> the owner and <b>devs</b> the group of report.txt in one step:' || char(13,10) || '' || char(13,10) || '______ ______ report.txt' || char(13,10) || '' || char(13,10) || '(first box: the command, second box: owner and group)',
    '<code>chown alice:devs report.txt</code> sets both; the older form with a dot still works. <code>chgrp</code> changes only the group. See <a href="https://man7.org/linux/man-pages/man1/chown.1.html">chown(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (26, 'chown|/usr/bin/chown'),
    (26, 'alice:devs|alice.devs');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (26, 2, 2, 'b', '1', 0);

-- Question 27 (category 2, chapter 22, difficulty 2): essay
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (27, 2, 22, 2, 0, 2, 0, 0,
    'Explain the difference between the setuid bit on an executable file and the setgid bit on a directory.',
    'Key ideas: setuid runs a program as its owner; setgid on a directory makes new files inherit the directory''s group. See <a href="https://man7.org/linux/man-pages/man7/inode.7.html">inode(7)</a> (the S_ISUID and S_ISGID bits).',
    'The setuid bit on an executable makes the program run with the privileges of the file''s owner instead of the user who starts it; passwd uses it to write /etc/shadow as root. The setgid bit on a directory makes new files and subdirectories created in it inherit the group of the directory instead of the primary group of the user who creates them, which suits shared project directories.');
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (27, 'setuid|set-user-id|set user id|suid'),
    (27, 'owner'),
    (27, 'setgid|set-group-id|set group id|sgid'),
    (27, 'inherit|new files|newly created');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (27, 2, 2, 'b', '1', 0);

-- Question 28 (category 2, chapter 22, difficulty 2): multiple choice, 5 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (28, 2, 22, 1, 0, 2, 0, 0,
    'With <code>umask 027</code>, which mode does a new regular file get when the program asks for 666?',
    'The umask removes bits: 666 without 027 leaves 640 (rw-r-----). Directories, created with 777, get 750.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (28, 1, '027', 0),
    (28, 2, '750', 0),
    (28, 3, '600', 0),
    (28, 4, '644', 0),
    (28, 5, '640', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (28, 2, 2, 'b', '1', 0);

-- Question 29 (category 2, chapter 23, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (29, 2, 23, 1, 0, 1, 0, 0,
    'Which command shows how much space is free on each mounted filesystem?',
    'df reports per filesystem; du adds up the space used below a directory, and free shows memory. See <a href="https://man7.org/linux/man-pages/man1/df.1.html">df(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (29, 1, 'lsblk -f', 0),
    (29, 2, 'df -h', 1),
    (29, 3, 'du -sh', 0),
    (29, 4, 'free -h', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (29, 2, 3, 'a', '1', 0);

-- Question 30 (category 2, chapter 23, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (30, 2, 23, 1, 0, 2, 0, 0,
    'The server''s storage is laid out like this:' || char(13,10) || '///image=lvm-layers.gif///' || char(13,10) || 'The volume group has free space. Which command adds 10 GiB to lv_home and grows its filesystem in the same step?',
    'lvextend grows the logical volume and, with -r (--resizefs), calls the right filesystem tool afterwards. vgextend adds physical volumes to a group, not space to a volume. See <a href="https://man7.org/linux/man-pages/man8/lvextend.8.html">lvextend(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (30, 1, 'lvextend -r -L +10G vg_data/lv_home', 1),
    (30, 2, 'vgextend vg_data 10G', 0),
    (30, 3, 'pvresize --grow lv_home', 0),
    (30, 4, 'resize2fs vg_data 10G', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (30, 2, 3, 'b', '1', 0);

-- Question 31 (category 2, chapter 23, difficulty 3): multiple choice, 7 choices, 4 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (31, 2, 23, 1, 0, 3, 0, 0,
    'Which of these are fields of a line in /etc/fstab? (Choose four.)',
    'An fstab line has six fields: device, mount point, type, options, dump flag and fsck pass number. See <a href="https://man7.org/linux/man-pages/man5/fstab.5.html">fstab(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (31, 1, 'The mount options', 1),
    (31, 2, 'The kernel version', 0),
    (31, 3, 'The inode count', 0),
    (31, 4, 'The device, label or UUID', 1),
    (31, 5, 'The login of the owner', 0),
    (31, 6, 'The mount point', 1),
    (31, 7, 'The filesystem type', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (31, 2, 3, 'c', '1', 0);

-- Question 32 (category 2, chapter 23, difficulty 3): ordered list
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (32, 2, 23, 4, 1, 3, 0, 0,
    'A new disk appears as /dev/sdb. Put the steps to use it as /data, mounted at every boot, in order.',
    'Partition, filesystem and mount point come first. Adding the line to fstab before mounting with <code>mount -a</code> tests the new line at once, so a typing error shows up now and not at the next boot.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (32, 'Create the mount point directory', 1, 'Create a partition with fdisk or parted', 1, NULL),
    (32, 'Mount it with mount -a', 2, 'Create a filesystem with mkfs.ext4', 2, NULL),
    (32, 'Create a partition with fdisk or parted', 3, 'Create the mount point directory', 3, NULL),
    (32, 'Add the filesystem to /etc/fstab', 4, 'Add the filesystem to /etc/fstab', 4, NULL),
    (32, 'Create a filesystem with mkfs.ext4', 5, 'Mount it with mount -a', 5, NULL);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (32, 2, 3, 'c', '1', 0);

-- Question 33 (category 2, chapter 23, difficulty 2): select and place
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (33, 2, 23, 4, 3, 2, 0, 0,
    'Place each command beside the task it performs.',
    'mkfs.xfs creates XFS, e2fsck checks ext2/3/4, blkid prints UUIDs and labels, swapon activates swap.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (33, 'blkid', 1, 'Create an XFS filesystem', 1, NULL),
    (33, 'swapon', 2, 'Check an unmounted ext4 filesystem', 2, NULL),
    (33, 'mkfs.xfs', 3, 'Show the UUIDs of block devices', 3, NULL),
    (33, 'e2fsck', 4, 'Turn on a swap area', 4, NULL);
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (33, 'Create an XFS filesystem', 1, 'mkfs.xfs', 1),
    (33, 'Check an unmounted ext4 filesystem', 2, 'e2fsck', 2),
    (33, 'Show the UUIDs of block devices', 3, 'blkid', 3),
    (33, 'Turn on a swap area', 4, 'swapon', 4);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (33, 2, 3, 'b', '1', 0);

-- Question 34 (category 2, chapter 0, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (34, 2, 0, 1, 0, 1, 0, 0,
    'Which command lists every file whose name ends in .conf below /etc?',
    'find walks the directory tree and tests each name; quote the pattern so that the shell does not expand it first. grep -r searches file contents, not names. See <a href="https://man7.org/linux/man-pages/man1/find.1.html">find(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (34, 1, 'find /etc -name ''*.conf''', 1),
    (34, 2, 'grep -r conf /etc', 0),
    (34, 3, 'which /etc/*.conf', 0),
    (34, 4, 'ls /etc | conf', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (34, 2, 0, 'a', '1', 0);

-- Question 35 (category 2, chapter 0, difficulty 2): fill in the blank, 1 blank
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (35, 2, 0, 3, 0, 2, 0, 0,
    'umount reports "target is busy". Name one command that shows which processes are using the mount point.' || char(13,10) || '' || char(13,10) || '______',
    '<code>fuser -vm /mnt/point</code> or <code>lsof</code> on the mount point lists the processes that hold files or a working directory there. See <a href="https://man7.org/linux/man-pages/man1/fuser.1.html">fuser(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (35, 'fuser|lsof|fuser -m|fuser -vm|lsof +f');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (35, 2, 0, 'b', '1', 0);

-- Question 36 (category 3, chapter 31, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (36, 3, 31, 1, 0, 1, 0, 0,
    'Which file stores the password hashes of local users on a current Linux system?',
    '/etc/passwd is readable by everyone and keeps only an x in the password field; the hashes are in /etc/shadow, readable by root only. See <a href="https://man7.org/linux/man-pages/man5/shadow.5.html">shadow(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (36, 1, '/etc/login.defs', 0),
    (36, 2, '/etc/group', 0),
    (36, 3, '/etc/passwd', 0),
    (36, 4, '/etc/shadow', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (36, 3, 1, 'a', '1', 0);

-- Question 37 (category 3, chapter 31, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (37, 3, 31, 1, 0, 2, 0, 0,
    'Which command adds the existing user bob to the supplementary group docker without removing him from his other groups?',
    '-G alone replaces the list of supplementary groups; -a (append) keeps the existing ones. The change takes effect at bob''s next login. See <a href="https://man7.org/linux/man-pages/man8/usermod.8.html">usermod(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (37, 1, 'useradd -G docker bob', 0),
    (37, 2, 'usermod -aG docker bob', 1),
    (37, 3, 'groupadd docker bob', 0),
    (37, 4, 'usermod -G docker bob', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (37, 3, 1, 'b', '1', 0);

-- Question 38 (category 3, chapter 31, difficulty 2): multiple choice, 6 choices, 4 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (38, 3, 31, 1, 0, 2, 0, 0,
    'Which of these fields are stored in /etc/passwd? (Choose four.)',
    'passwd has seven fields: name, password placeholder, UID, GID, comment, home directory and shell. Hashes and password ageing are in /etc/shadow. See <a href="https://man7.org/linux/man-pages/man5/passwd.5.html">passwd(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (38, 1, 'The login name', 1),
    (38, 2, 'The password hash', 0),
    (38, 3, 'The numeric user ID', 1),
    (38, 4, 'The date of the last password change', 0),
    (38, 5, 'The login shell', 1),
    (38, 6, 'The home directory', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (38, 3, 1, 'b', '1', 0);

-- Question 39 (category 3, chapter 31, difficulty 1): fill in the blank, 1 blank
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (39, 3, 31, 3, 0, 1, 0, 0,
    'Complete the command that switches to the root account with a full login environment (root''s PATH, home directory and profile):' || char(13,10) || '' || char(13,10) || 'su ______',
    '<code>su -</code> (or <code>su -l</code>) starts a login shell; plain <code>su</code> keeps most of the caller''s environment. See <a href="https://man7.org/linux/man-pages/man1/su.1.html">su(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (39, '-|-l|--login');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (39, 3, 1, 'a', '1', 0);

-- Question 40 (category 3, chapter 31, difficulty 1): multiple choice, 4 choices, one right answer, scenario 2
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (40, 3, 31, 1, 0, 1, 1, 2,
    'Read the scenario "A new developer joins". Which useradd option creates Maria''s home directory and copies the files of /etc/skel into it?',
    '-m (--create-home) creates the home directory; -d only names it, -k chooses another skeleton directory and -s sets the shell. Debian''s adduser does this by default. See <a href="https://man7.org/linux/man-pages/man8/useradd.8.html">useradd(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (40, 1, '-k', 0),
    (40, 2, '-d', 0),
    (40, 3, '-s', 0),
    (40, 4, '-m', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (40, 3, 1, 'a', 's', 0);

-- Question 41 (category 3, chapter 31, difficulty 2): fill in the blank, 2 blanks, scenario 2
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (41, 3, 31, 3, 0, 2, 1, 2,
    'Read the scenario "A new developer joins". Maria must be able to use sudo.' || char(13,10) || '' || char(13,10) || '1. On Debian and Ubuntu, add her to the group ______.' || char(13,10) || '2. On Fedora and RHEL the same group is called ______.',
    'The default sudoers files grant full sudo rights to the group sudo on Debian-family systems and to wheel on Red Hat-family systems. See <a href="https://man7.org/linux/man-pages/man5/sudoers.5.html">sudoers(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (41, 'sudo'),
    (41, 'wheel');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (41, 3, 1, 'b', 's', 0);

-- Question 42 (category 3, chapter 32, difficulty 1): multiple choice, 5 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (42, 3, 32, 1, 0, 1, 0, 0,
    'Which signal does <code>kill PID</code> send when no signal is named?',
    'kill sends SIGTERM (15), which a program can catch to shut down cleanly. SIGKILL (9) cannot be caught. See <a href="https://man7.org/linux/man-pages/man7/signal.7.html">signal(7)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (42, 1, 'SIGTERM', 1),
    (42, 2, 'SIGKILL', 0),
    (42, 3, 'SIGSTOP', 0),
    (42, 4, 'SIGINT', 0),
    (42, 5, 'SIGHUP', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (42, 3, 2, 'a', '1', 0);

-- Question 43 (category 3, chapter 32, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (43, 3, 32, 1, 0, 2, 0, 0,
    '<code>ps</code> shows a process in state <b>Z</b>. What does that mean?',
    'Z is a zombie: only its process table entry is left until the parent calls wait(). D is uninterruptible sleep, T stopped and R running. See <a href="https://man7.org/linux/man-pages/man1/ps.1.html">ps(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (43, 1, 'It sleeps and waits for disk input or output', 0),
    (43, 2, 'It was stopped by a signal', 0),
    (43, 3, 'It is running on a CPU', 0),
    (43, 4, 'It has exited but its parent has not collected its exit status yet', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (43, 3, 2, 'b', '1', 0);

-- Question 44 (category 3, chapter 32, difficulty 2): multiple choice, 5 choices, 2 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (44, 3, 32, 1, 0, 2, 0, 0,
    'Which tools can change the scheduling priority of a process that is already running? (Choose two.)',
    'renice changes the nice value of running processes, and top does the same with its r key. nice only starts a new command with a given niceness. See <a href="https://man7.org/linux/man-pages/man1/renice.1.html">renice(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (44, 1, 'renice', 1),
    (44, 2, 'nice', 0),
    (44, 3, 'top', 1),
    (44, 4, 'ps', 0),
    (44, 5, 'kill', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (44, 3, 2, 'b', '1', 0);

-- Question 45 (category 3, chapter 32, difficulty 2): select and place
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (45, 3, 32, 4, 3, 2, 0, 0,
    'Place each signal beside its number on Linux x86 systems.',
    'SIGHUP 1 (hang-up, often "reload configuration"), SIGINT 2 (Ctrl+C), SIGKILL 9 (cannot be caught) and SIGTERM 15 (polite termination). <code>kill -l</code> lists them all.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (45, 'SIGKILL', 1, 'Signal 1', 1, NULL),
    (45, 'SIGHUP', 2, 'Signal 2', 2, NULL),
    (45, 'SIGTERM', 3, 'Signal 9', 3, NULL),
    (45, 'SIGINT', 4, 'Signal 15', 4, NULL);
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (45, 'Signal 1', 1, 'SIGHUP', 1),
    (45, 'Signal 2', 2, 'SIGINT', 2),
    (45, 'Signal 9', 3, 'SIGKILL', 3),
    (45, 'Signal 15', 4, 'SIGTERM', 4);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (45, 3, 2, 'b', '1', 0);

-- Question 46 (category 3, chapter 32, difficulty 3): essay
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (46, 3, 32, 2, 0, 3, 0, 0,
    'A long job runs in the foreground of your shell. Describe what happens when you press Ctrl+Z, and how you let the job continue in the background.',
    'Key ideas: Ctrl+Z stops (suspends) the job with SIGTSTP; bg continues it in the background. See the job control chapter of the <a href="https://www.gnu.org/software/bash/manual/">Bash manual</a>.',
    'Ctrl+Z makes the terminal send SIGTSTP to the foreground job, so the job is stopped (suspended) and the shell prompt returns. The command jobs lists it as stopped. The command bg (or bg %1) sends it SIGCONT and lets it continue in the background, while fg would bring it back to the foreground.');
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (46, 'SIGTSTP|stop|suspend'),
    (46, 'bg');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (46, 3, 2, 'c', '1', 0);

-- Question 47 (category 3, chapter 33, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (47, 3, 33, 1, 0, 1, 0, 0,
    'Which command makes the nginx service start automatically at every boot?',
    'enable creates the links that pull the unit into its target at boot; start only starts it now. <code>systemctl enable --now nginx</code> does both. See <a href="https://man7.org/linux/man-pages/man1/systemctl.1.html">systemctl(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (47, 1, 'systemctl enable nginx', 1),
    (47, 2, 'systemctl unmask nginx', 0),
    (47, 3, 'systemctl start nginx', 0),
    (47, 4, 'systemctl reload nginx', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (47, 3, 3, 'a', '1', 0);

-- Question 48 (category 3, chapter 33, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (48, 3, 33, 1, 0, 2, 0, 0,
    'Where does an administrator put a changed copy of a unit file so that package updates never overwrite it?',
    'Units in /etc/systemd/system take precedence over the packaged ones in /lib/systemd/system. <code>systemctl edit --full</code> makes the copy for you. See <a href="https://man7.org/linux/man-pages/man5/systemd.unit.5.html">systemd.unit(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (48, 1, '/etc/systemd/system', 1),
    (48, 2, '/run/systemd/generator', 0),
    (48, 3, '/usr/lib/systemd/user', 0),
    (48, 4, '/lib/systemd/system', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (48, 3, 3, 'b', '1', 0);

-- Question 49 (category 3, chapter 33, difficulty 2): multiple choice, 5 choices, 2 right answers, scenario 1
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (49, 3, 33, 1, 0, 2, 1, 1,
    'Read the scenario "The silent web server". Which two commands show Tom why nginx failed to start?',
    'systemctl status shows the unit state with its last log lines; journalctl -u nginx -b shows all messages of the unit since boot. Reloading needs a running nginx.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (49, 1, 'nginx -s reload', 0),
    (49, 2, 'ip addr show', 0),
    (49, 3, 'journalctl -u nginx -b', 1),
    (49, 4, 'systemctl enable nginx', 0),
    (49, 5, 'systemctl status nginx', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (49, 3, 3, 'b', 's', 0);

-- Question 50 (category 3, chapter 33, difficulty 1): fill in the blank, 1 blank, scenario 1
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (50, 3, 33, 3, 0, 1, 1, 1,
    'Read the scenario "The silent web server". Which command, with or without options, showed Tom that the /var filesystem was full?' || char(13,10) || '' || char(13,10) || '______',
    '<code>df -h</code> lists every mounted filesystem with its size, use and free space.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (50, 'df|df -h|df -H|df -hT|df -Th');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (50, 3, 3, 'a', 's', 0);

-- Question 51 (category 3, chapter 33, difficulty 3): ordered list, scenario 1
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (51, 3, 33, 4, 1, 3, 1, 1,
    'Read the scenario "The silent web server". Put Tom''s recovery steps in a sensible order.',
    'Find the cause first, then free the space, then restart the service and finally test it from the customer''s side. Fixing the log rotation afterwards stops the problem from coming back.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (51, 'Check the shop page from a browser', 1, 'Read the unit status and its journal', 1, NULL),
    (51, 'Remove the old rotated access logs', 2, 'Find what fills /var with du', 2, NULL),
    (51, 'Read the unit status and its journal', 3, 'Remove the old rotated access logs', 3, NULL),
    (51, 'Restart nginx', 4, 'Restart nginx', 4, NULL),
    (51, 'Find what fills /var with du', 5, 'Check the shop page from a browser', 5, NULL);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (51, 3, 3, 'c', 's', 0);

-- Question 52 (category 3, chapter 33, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (52, 3, 33, 1, 0, 2, 0, 0,
    'Which command follows the new messages of the ssh service as they are logged?',
    '-u selects the unit and -f follows the journal like tail -f. See <a href="https://man7.org/linux/man-pages/man1/journalctl.1.html">journalctl(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (52, 1, 'journalctl -b ssh', 0),
    (52, 2, 'journalctl --list-boots', 0),
    (52, 3, 'journalctl -f -u ssh', 1),
    (52, 4, 'dmesg -u ssh', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (52, 3, 3, 'b', '1', 0);

-- Question 53 (category 3, chapter 0, difficulty 1): multiple choice, 3 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (53, 3, 0, 1, 0, 1, 0, 0,
    'Which command shows who is logged in to the system right now?',
    'who reads the current login records; last lists past logins from wtmp and lastlog the most recent login of each account.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (53, 1, 'who', 1),
    (53, 2, 'last', 0),
    (53, 3, 'lastlog', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (53, 3, 0, 'a', '1', 0);

-- Question 54 (category 3, chapter 0, difficulty 2): tree
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (54, 3, 0, 4, 2, 2, 0, 0,
    'Sort the commands under what they manage.',
    'useradd and passwd manage accounts, pkill and renice act on running processes, and systemctl and journalctl control systemd units and read their logs.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (54, 'Users', 1, 'systemctl', 1, 'Administration commands'),
    (54, 'Processes', 2, 'pkill', 2, 'Administration commands'),
    (54, 'Services and logs', 3, 'useradd', 3, 'Administration commands'),
    (54, '', 4, 'journalctl', 4, 'Administration commands'),
    (54, '', 5, 'renice', 5, 'Administration commands'),
    (54, '', 6, 'passwd', 6, 'Administration commands');
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (54, 'useradd', 1, 'Users', 1),
    (54, 'passwd', 2, 'Users', 1),
    (54, 'pkill', 3, 'Processes', 2),
    (54, 'renice', 4, 'Processes', 2),
    (54, 'systemctl', 5, 'Services and logs', 3),
    (54, 'journalctl', 6, 'Services and logs', 3);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (54, 3, 0, 'b', '1', 0);

-- Question 55 (category 4, chapter 41, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (55, 4, 41, 1, 0, 1, 0, 0,
    'Which command shows the IP addresses of all network interfaces?',
    '<code>ip addr</code> (or <code>ip a</code>) lists interfaces with their addresses; ifconfig is its deprecated predecessor. See <a href="https://man7.org/linux/man-pages/man8/ip-address.8.html">ip-address(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (55, 1, 'ss -tlnp', 0),
    (55, 2, 'hostname -f', 0),
    (55, 3, 'ip addr show', 1),
    (55, 4, 'ip route show', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (55, 4, 1, 'a', '1', 0);

-- Question 56 (category 4, chapter 41, difficulty 2): multiple choice, 5 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (56, 4, 41, 1, 0, 2, 0, 0,
    '///image=tcp-handshake.bmp///' || char(13,10) || 'Which segment does the server send in the second step of the TCP connection set-up shown above?',
    'The client sends SYN, the server answers SYN-ACK and the client confirms with ACK. A closed port answers the SYN with RST instead.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (56, 1, 'ACK', 0),
    (56, 2, 'RST', 0),
    (56, 3, 'FIN', 0),
    (56, 4, 'SYN', 0),
    (56, 5, 'SYN-ACK', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (56, 4, 1, 'b', '1', 0);

-- Question 57 (category 4, chapter 41, difficulty 2): multiple choice, 5 choices, 2 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (57, 4, 41, 1, 0, 2, 0, 0,
    'Where can you see which DNS servers a Debian host asks? (Choose two.)',
    'resolv.conf lists the name servers for the C library; with systemd-resolved it points to the local stub and <code>resolvectl status</code> shows the real servers. /etc/hosts holds static names, not servers.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (57, 1, '/etc/services', 0),
    (57, 2, '/etc/hosts', 0),
    (57, 3, '/etc/resolv.conf', 1),
    (57, 4, '/etc/hostname', 0),
    (57, 5, 'resolvectl status', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (57, 4, 1, 'b', '1', 0);

-- Question 58 (category 4, chapter 41, difficulty 2): fill in the blank, 2 blanks
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (58, 4, 41, 3, 0, 2, 0, 0,
    'A host has the address 192.168.10.25/26.' || char(13,10) || '' || char(13,10) || '1. The network address of its subnet is ______.' || char(13,10) || '2. The broadcast address of its subnet is ______.',
    'A /26 mask (255.255.255.192) makes blocks of 64 addresses: .0 to .63, .64 to .127 and so on. .25 lies in the first block, so the network is 192.168.10.0 and the broadcast 192.168.10.63.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (58, '192.168.10.0'),
    (58, '192.168.10.63');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (58, 4, 1, 'b', '1', 0);

-- Question 59 (category 4, chapter 41, difficulty 2): select and place
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (59, 4, 41, 4, 3, 2, 0, 0,
    'Place each service beside the well-known port it listens on.',
    '/etc/services lists the well-known ports: ssh 22, domain 53, http 80 and https 443. See <a href="https://man7.org/linux/man-pages/man5/services.5.html">services(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (59, 'HTTPS', 1, 'Port 22', 1, NULL),
    (59, 'SSH', 2, 'Port 53', 2, NULL),
    (59, 'HTTP', 3, 'Port 80', 3, NULL),
    (59, 'DNS', 4, 'Port 443', 4, NULL);
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (59, 'Port 22', 1, 'SSH', 1),
    (59, 'Port 53', 2, 'DNS', 2),
    (59, 'Port 80', 3, 'HTTP', 3),
    (59, 'Port 443', 4, 'HTTPS', 4);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (59, 4, 1, 'b', '1', 0);

-- Question 60 (category 4, chapter 41, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (60, 4, 41, 1, 0, 2, 0, 0,
    'Which command lists the listening TCP sockets together with the processes that own them?',
    'ss: -t TCP, -l listening, -n numeric ports, -p processes (needs root for other users'' processes). See <a href="https://man7.org/linux/man-pages/man8/ss.8.html">ss(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (60, 1, 'ss -tlnp', 1),
    (60, 2, 'ping -l', 0),
    (60, 3, 'ip route show', 0),
    (60, 4, 'ip -s link', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (60, 4, 1, 'b', '1', 0);

-- Question 61 (category 4, chapter 41, difficulty 3): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (61, 4, 41, 1, 0, 3, 0, 0,
    'What is the default route of a host used for?',
    'The kernel picks the most specific matching route; 0.0.0.0/0 (default) matches everything, so it catches whatever no other route does, usually by sending it to the gateway. See <a href="https://man7.org/linux/man-pages/man8/ip-route.8.html">ip-route(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (61, 1, 'Packets to other hosts on the local subnet', 0),
    (61, 2, 'Packets that the firewall has rejected', 0),
    (61, 3, 'Packets to destinations that no more specific route matches', 1),
    (61, 4, 'Answers to DNS queries only', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (61, 4, 1, 'c', '1', 0);

-- Question 62 (category 4, chapter 42, difficulty 2): multiple choice, 4 choices, one right answer, scenario 2
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (62, 4, 42, 1, 0, 2, 1, 2,
    'Read the scenario "A new developer joins". In which file on the server must Maria''s public key be stored so that she can log in with it?',
    'sshd compares the key offered by the client with the keys in the account''s ~/.ssh/authorized_keys. The file and the .ssh directory must not be writable by others. See <a href="https://man7.org/linux/man-pages/man8/sshd.8.html">sshd(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (62, 1, '~/.ssh/authorized_keys in her home directory', 1),
    (62, 2, '~/.ssh/id_ed25519 in her home directory', 0),
    (62, 3, '/etc/ssh/ssh_host_ed25519_key.pub', 0),
    (62, 4, '~/.ssh/known_hosts in her home directory', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (62, 4, 2, 'b', 's', 0);

-- Question 63 (category 4, chapter 42, difficulty 3): essay, scenario 2
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (63, 4, 42, 2, 0, 3, 1, 2,
    'Read the scenario "A new developer joins". Explain why the security policy asks for key-based SSH logins and turns password logins off.',
    'Key ideas: keys replace passwords, and passwords can be guessed (brute force) or stolen. See the <a href="https://www.openssh.com/manual.html">OpenSSH manual pages</a>.',
    'With key-based authentication the user proves that she holds a private key that never leaves her machine; the server stores only the public key. A key cannot be guessed like a password, so turning password logins off ends brute-force and dictionary attacks against the server, and a password that was stolen, phished or reused elsewhere is useless for SSH. The private key itself is protected with a passphrase.');
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (63, 'key'),
    (63, 'password'),
    (63, 'brute|guess|dictionary|phishing|stolen|leak|reuse');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (63, 4, 2, 'c', 's', 0);

-- Question 64 (category 4, chapter 42, difficulty 2): select and place, scenario 2
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (64, 4, 42, 4, 3, 2, 1, 2,
    'Read the scenario "A new developer joins". Place each file beside its purpose.',
    'The private key stays on the client; authorized_keys is on the server; known_hosts protects the client against a changed or false server; sshd_config configures the daemon.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (64, '~/.ssh/known_hosts', 1, 'The client''s private key', 1, NULL),
    (64, '/etc/ssh/sshd_config', 2, 'Keys allowed to log in to an account', 2, NULL),
    (64, '~/.ssh/id_ed25519', 3, 'Host keys of servers already seen', 3, NULL),
    (64, '~/.ssh/authorized_keys', 4, 'Configuration of the SSH server', 4, NULL);
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (64, 'The client''s private key', 1, '~/.ssh/id_ed25519', 1),
    (64, 'Keys allowed to log in to an account', 2, '~/.ssh/authorized_keys', 2),
    (64, 'Host keys of servers already seen', 3, '~/.ssh/known_hosts', 3),
    (64, 'Configuration of the SSH server', 4, '/etc/ssh/sshd_config', 4);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (64, 4, 2, 'b', 's', 0);

-- Question 65 (category 4, chapter 42, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (65, 4, 42, 1, 0, 2, 0, 0,
    'Which line in /etc/ssh/sshd_config turns password logins off?',
    'PasswordAuthentication no refuses passwords; reload sshd afterwards and keep a working session open until a key login has been tested. See <a href="https://man7.org/linux/man-pages/man5/sshd_config.5.html">sshd_config(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (65, 1, 'PermitEmptyPasswords yes', 0),
    (65, 2, 'PasswordAuthentication no', 1),
    (65, 3, 'PermitRootLogin no', 0),
    (65, 4, 'PubkeyAuthentication no', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (65, 4, 2, 'b', '1', 0);

-- Question 66 (category 4, chapter 42, difficulty 3): multiple choice, 7 choices, 4 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (66, 4, 42, 1, 0, 3, 0, 0,
    'Which are good steps to harden an SSH server that can be reached from the internet? (Choose four.)',
    'Fewer ways in (no passwords, no direct root), fewer known holes (updates) and a brake on guessing (fail2ban or similar). The wrong answers weaken the system.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (66, 1, 'Turn password authentication off', 1),
    (66, 2, 'Forbid direct root logins', 1),
    (66, 3, 'Block repeated failed logins with a tool such as fail2ban', 1),
    (66, 4, 'Publish the private host key', 0),
    (66, 5, 'Install security updates promptly', 1),
    (66, 6, 'Set every home directory to mode 777', 0),
    (66, 7, 'Turn the firewall off', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (66, 4, 2, 'c', '1', 0);

-- Question 67 (category 4, chapter 42, difficulty 2): fill in the blank, 1 blank
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (67, 4, 42, 3, 0, 2, 0, 0,
    'Complete the ufw command that lets incoming SSH connections through the firewall:' || char(13,10) || '' || char(13,10) || 'ufw ______ ssh',
    '<code>ufw allow ssh</code> opens port 22/tcp using the name from /etc/services. Run it before <code>ufw enable</code> on a remote machine, or you lock yourself out.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (67, 'allow|allow in');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (67, 4, 2, 'b', '1', 0);

-- Question 68 (category 4, chapter 42, difficulty 2): ordered list
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (68, 4, 42, 4, 1, 2, 0, 0,
    'Put the steps to move a user from password logins to key logins in a safe order.',
    'Only turn passwords off after the key login has been tested, and keep the old session open until the reloaded server has been tried once more.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (68, 'Set PasswordAuthentication no in sshd_config', 1, 'Generate a key pair with ssh-keygen', 1, NULL),
    (68, 'Copy the public key with ssh-copy-id', 2, 'Copy the public key with ssh-copy-id', 2, NULL),
    (68, 'Reload the ssh service', 3, 'Test the key login in a new session', 3, NULL),
    (68, 'Generate a key pair with ssh-keygen', 4, 'Set PasswordAuthentication no in sshd_config', 4, NULL),
    (68, 'Test the key login in a new session', 5, 'Reload the ssh service', 5, NULL);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (68, 4, 2, 'b', '1', 0);

-- Question 69 (category 4, chapter 0, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (69, 4, 0, 1, 0, 1, 0, 0,
    'Which command checks whether a host answers ICMP echo requests?',
    'ping sends ICMP echo requests and reports the replies and round-trip times. See <a href="https://man7.org/linux/man-pages/man8/ping.8.html">ping(8)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (69, 1, 'whois', 0),
    (69, 2, 'arp', 0),
    (69, 3, 'dig', 0),
    (69, 4, 'ping', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (69, 4, 0, 'a', '1', 0);

-- Question 70 (category 4, chapter 0, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (70, 4, 0, 1, 0, 2, 0, 0,
    'Which command asks DNS for the mail exchangers (MX records) of example.org?',
    'dig takes the record type after the name; <code>host -t MX example.org</code> works as well. See <a href="https://man7.org/linux/man-pages/man1/dig.1.html">dig(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (70, 1, 'dig example.org MX', 1),
    (70, 2, 'host -t A example.org', 0),
    (70, 3, 'ping -MX example.org', 0),
    (70, 4, 'hostname example.org', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (70, 4, 0, 'b', '1', 0);

-- Question 71 (category 4, chapter 0, difficulty 3): tree
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (71, 4, 0, 4, 2, 3, 0, 0,
    'Sort the protocols under the transport protocol that each one uses by default.',
    'Sessions that must arrive complete and in order (SSH, HTTPS, SMTP) use TCP; short request and answer exchanges (DHCP, NTP, TFTP) use UDP.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (71, 'TCP', 1, 'NTP', 1, 'Transport protocols'),
    (71, 'UDP', 2, 'SSH', 2, 'Transport protocols'),
    (71, '', 3, 'TFTP', 3, 'Transport protocols'),
    (71, '', 4, 'HTTPS', 4, 'Transport protocols'),
    (71, '', 5, 'DHCP', 5, 'Transport protocols'),
    (71, '', 6, 'SMTP', 6, 'Transport protocols');
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (71, 'SSH', 1, 'TCP', 1),
    (71, 'HTTPS', 2, 'TCP', 1),
    (71, 'SMTP', 3, 'TCP', 1),
    (71, 'DHCP', 4, 'UDP', 2),
    (71, 'NTP', 5, 'UDP', 2),
    (71, 'TFTP', 6, 'UDP', 2);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (71, 4, 0, 'c', '1', 0);

-- Question 72 (category 5, chapter 51, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (72, 5, 51, 1, 0, 1, 0, 0,
    '///image=pipeline.png///' || char(13,10) || 'What does the pipeline <code>ps aux | grep sshd | wc -l</code> print?',
    'Each | connects standard output of one command to standard input of the next: grep keeps the matching lines and wc -l counts them. The grep process itself may be counted too.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (72, 1, 'The process IDs of all sshd processes', 0),
    (72, 2, 'The memory used by sshd', 0),
    (72, 3, 'Nothing, because grep cannot read from a pipe', 0),
    (72, 4, 'The number of lines of the process list that contain sshd', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (72, 5, 1, 'a', '1', 0);

-- Question 73 (category 5, chapter 51, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (73, 5, 51, 1, 0, 2, 0, 0,
    'Which command line sends both standard output and standard error of <code>cmd</code> to log.txt in bash?',
    'Redirections are applied from left to right: first stdout goes to the file, then stderr is copied from stdout. In the second line stderr is copied while stdout still points to the terminal.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (73, 1, 'cmd | log.txt', 0),
    (73, 2, 'cmd &gt; log.txt 2&gt;&amp;1', 1),
    (73, 3, 'cmd &lt; log.txt 2&gt;&amp;1', 0),
    (73, 4, 'cmd 2&gt;&amp;1 &gt; log.txt', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (73, 5, 1, 'b', '1', 0);

-- Question 74 (category 5, chapter 51, difficulty 2): multiple choice, 5 choices, 2 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (74, 5, 51, 1, 0, 2, 0, 0,
    'Which commands print the last 20 lines of file.txt? (Choose two.)',
    'tail -n 20 and the older short form tail -20 print the end of the file; head and the sed line print the first 20 lines. See <a href="https://man7.org/linux/man-pages/man1/tail.1.html">tail(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (74, 1, 'tail -n 20 file.txt', 1),
    (74, 2, 'less +20 file.txt', 0),
    (74, 3, 'head -n 20 file.txt', 0),
    (74, 4, 'sed -n ''1,20p'' file.txt', 0),
    (74, 5, 'tail -20 file.txt', 1);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (74, 5, 1, 'b', '1', 0);

-- Question 75 (category 5, chapter 51, difficulty 1): fill in the blank, 1 blank
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (75, 5, 51, 3, 0, 1, 0, 0,
    'Complete the command that shows the manual page of ls:' || char(13,10) || '' || char(13,10) || '______ ls',
    'man shows manual pages; <code>man -k word</code> searches their descriptions. See <a href="https://man7.org/linux/man-pages/man1/man.1.html">man(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (75, 'man');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (75, 5, 1, 'a', '1', 0);

-- Question 76 (category 5, chapter 51, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (76, 5, 51, 1, 0, 2, 0, 0,
    'What does <code>grep -v error app.log</code> print?',
    '-v inverts the match. -o prints only the match, -c counts lines and -i ignores case. See <a href="https://man7.org/linux/man-pages/man1/grep.1.html">grep(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (76, 1, 'Only the word error, once per match', 0),
    (76, 2, 'The lines of app.log that do not contain error', 1),
    (76, 3, 'The lines that contain error in any letter case', 0),
    (76, 4, 'The number of lines that contain error', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (76, 5, 1, 'b', '1', 0);

-- Question 77 (category 5, chapter 51, difficulty 2): select and place
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (77, 5, 51, 4, 3, 2, 0, 0,
    'Place each special parameter of bash beside its meaning.',
    '$? is 0 after success; $# counts the arguments; $$ is the shell''s PID; "$@" expands to each argument as its own word, keeping blanks inside arguments.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (77, '$$', 1, 'Exit status of the last command', 1, NULL),
    (77, '"$@"', 2, 'Number of positional parameters', 2, NULL),
    (77, '$?', 3, 'Process ID of the shell', 3, NULL),
    (77, '$#', 4, 'All positional parameters as separate words', 4, NULL);
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (77, 'Exit status of the last command', 1, '$?', 1),
    (77, 'Number of positional parameters', 2, '$#', 2),
    (77, 'Process ID of the shell', 3, '$$', 3),
    (77, 'All positional parameters as separate words', 4, '"$@"', 4);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (77, 5, 1, 'b', '1', 0);

-- Question 78 (category 5, chapter 52, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (78, 5, 52, 1, 0, 1, 0, 0,
    'Which first line makes the kernel run a script with bash?',
    'The two characters #! (shebang) followed by the interpreter''s path tell the kernel which program runs the file. The script also needs the execute permission.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (78, 1, '!#/bin/bash', 0),
    (78, 2, '#!/bin/bash', 1),
    (78, 3, '// bash', 0),
    (78, 4, '#bash', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (78, 5, 2, 'a', '1', 0);

-- Question 79 (category 5, chapter 52, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (79, 5, 52, 1, 0, 2, 0, 0,
    'When does this crontab entry run?' || char(13,10) || '<PRE>30 2 * * 1 /usr/local/bin/backup.sh</PRE>',
    'The fields are minute, hour, day of month, month and day of week; day of week 1 is Monday. See <a href="https://man7.org/linux/man-pages/man5/crontab.5.html">crontab(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (79, 1, 'Every 30 minutes between 01:00 and 02:00', 0),
    (79, 2, 'At 02:30 every Monday', 1),
    (79, 3, 'At 01:30 on the second day of every month', 0),
    (79, 4, 'At 02:30 on the first day of every month', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (79, 5, 2, 'b', '1', 0);

-- Question 80 (category 5, chapter 52, difficulty 3): multiple choice, 6 choices, 3 right answers
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (80, 5, 52, 1, 0, 3, 0, 0,
    'Which of these bash tests are true exactly when <b>path</b> exists and is a regular file? (Choose three.)',
    '-f tests for a regular file in all three forms ([ is the test command, [[ is the bash keyword). -d tests for a directory, -x for execute permission and -z for an empty string.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (80, 1, '[ -f path ]', 1),
    (80, 2, '[ -d path ]', 0),
    (80, 3, '[[ -f path ]]', 1),
    (80, 4, 'test -f path', 1),
    (80, 5, '[ -x path ]', 0),
    (80, 6, '[ -z path ]', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (80, 5, 2, 'c', '1', 0);

-- Question 81 (category 5, chapter 52, difficulty 3): fill in the blank, 2 blanks
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (81, 5, 52, 3, 0, 3, 0, 0,
    'Complete the loop that prints the name of every .log file in the current directory:' || char(13,10) || '<PRE>______ f in *.log; do' || char(13,10) || '    echo "$f"' || char(13,10) || '______</PRE>',
    'A for loop runs its body once for each word of the list; do and done enclose the body.',
    NULL);
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (81, 'for'),
    (81, 'done');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (81, 5, 2, 'c', '1', 0);

-- Question 82 (category 5, chapter 52, difficulty 2): essay
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (82, 5, 52, 2, 0, 2, 0, 0,
    'Explain the difference between running a script as <code>./script.sh</code> and as <code>source script.sh</code>.',
    'Key ideas: a new process (subshell) versus the current shell, and what happens to variables or the working directory. See the <a href="https://www.gnu.org/software/bash/manual/">Bash manual</a>.',
    './script.sh starts a new process: a child shell reads the script, so variables it sets, directory changes and functions disappear when it ends, and the file needs execute permission. source (or .) reads the script into the current shell, so its variables, functions and cd commands stay in effect afterwards; this is how files like ~/.bashrc are loaded.');
INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES
    (82, 'subshell|child|new process|new shell|separate process'),
    (82, 'current shell|same shell|current environment|calling shell'),
    (82, 'variable|environment|cd|directory');
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (82, 5, 2, 'b', '1', 0);

-- Question 83 (category 5, chapter 52, difficulty 2): ordered list
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (83, 5, 52, 4, 1, 2, 0, 0,
    'Put the five time fields of a crontab entry in the order in which they are written.',
    'minute hour day-of-month month day-of-week, then the command. See <a href="https://man7.org/linux/man-pages/man5/crontab.5.html">crontab(5)</a>.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (83, 'Day of month', 1, 'Minute', 1, NULL),
    (83, 'Day of week', 2, 'Hour', 2, NULL),
    (83, 'Minute', 3, 'Day of month', 3, NULL),
    (83, 'Month', 4, 'Month', 4, NULL),
    (83, 'Hour', 5, 'Day of week', 5, NULL);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (83, 5, 2, 'b', '1', 0);

-- Question 84 (category 5, chapter 52, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (84, 5, 52, 1, 0, 2, 0, 0,
    'Which command edits the crontab of the current user?',
    'crontab -e opens a copy in your editor and installs it when you save; it checks the syntax too. See <a href="https://man7.org/linux/man-pages/man1/crontab.1.html">crontab(1)</a>.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (84, 1, 'at -e', 0),
    (84, 2, 'systemctl edit cron', 0),
    (84, 3, 'crontab -e', 1),
    (84, 4, 'cron -e', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (84, 5, 2, 'b', '1', 0);

-- Question 85 (category 5, chapter 0, difficulty 1): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (85, 5, 0, 1, 0, 1, 0, 0,
    'Which key combination interrupts the command that runs in the foreground of the terminal?',
    'Ctrl+C sends SIGINT; Ctrl+D ends the input, Ctrl+Z stops the job and Ctrl+L clears the screen. The <a href="[localpath]ZiduverHelp.htm">Ziduver help</a> lists the keys of the exam window.',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (85, 1, 'Ctrl+C', 1),
    (85, 2, 'Ctrl+D', 0),
    (85, 3, 'Ctrl+Z', 0),
    (85, 4, 'Ctrl+L', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (85, 5, 0, 'a', '1', 0);

-- Question 86 (category 5, chapter 0, difficulty 2): tree
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (86, 5, 0, 4, 2, 2, 0, 0,
    'Sort the commands under the kind of work they do.',
    'sort and cut transform text streams, cp and mv copy and move files, tar bundles files and gzip compresses them.',
    NULL);
INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item,
    Qi_RightPane_Seq, Qi_RootText) VALUES
    (86, 'Text filters', 1, 'tar', 1, 'Commands'),
    (86, 'File management', 2, 'mv', 2, 'Commands'),
    (86, 'Archiving', 3, 'sort', 3, 'Commands'),
    (86, '', 4, 'gzip', 4, 'Commands'),
    (86, '', 5, 'cut', 5, 'Commands'),
    (86, '', 6, 'cp', 6, 'Commands');
INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT,
    Qa_ans_node_Seq) VALUES
    (86, 'sort', 1, 'Text filters', 1),
    (86, 'cut', 2, 'Text filters', 1),
    (86, 'cp', 3, 'File management', 2),
    (86, 'mv', 4, 'File management', 2),
    (86, 'tar', 5, 'Archiving', 3),
    (86, 'gzip', 6, 'Archiving', 3);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (86, 5, 0, 'b', '1', 0);

-- Question 87 (category 5, chapter 0, difficulty 2): multiple choice, 4 choices, one right answer
INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode,
    Qq_Difficulty, Qq_IsScenario, Qq_ScenarioId, Qq_Quest_Desc, Qq_Explanation, QQ_CorrectAnswer)
VALUES (87, 5, 0, 1, 0, 2, 0, 0,
    'What does <code>set -e</code> at the top of a bash script do?',
    '-e exits on the first failing command (with exceptions for tests in if and ||); -x traces commands, -u catches unset variables and -a exports variables. See the <a href="https://www.gnu.org/software/bash/manual/">Bash manual</a>, "The Set Builtin".',
    NULL);
INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES
    (87, 1, 'The script exits as soon as a command fails', 1),
    (87, 2, 'Using an unset variable is an error', 0),
    (87, 3, 'Every command is printed before it runs', 0),
    (87, 4, 'Every variable is exported', 0);
INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat, Qq_Status)
VALUES (87, 5, 0, 'b', '1', 0);
