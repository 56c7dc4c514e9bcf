<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ActionGuard</name>
    <message>
        <source>未知错误</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>ArchiveProbe</name>
    <message>
        <source>无法启动%1</source>
        <translation>Cannot start %1</translation>
    </message>
    <message>
        <source>读取超时</source>
        <translation>timed out while reading</translation>
    </message>
    <message>
        <source>读取时出错</source>
        <translation>failed while reading</translation>
    </message>
</context>
<context>
    <name>CatalogueLocation</name>
    <message>
        <source>无法建立文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
</context>
<context>
    <name>CatalogueLock</name>
    <message>
        <source>%1 不是普通文件</source>
        <translation>%1 is not a regular file</translation>
    </message>
</context>
<context>
    <name>CatalogueSchema</name>
    <message>
        <source>文件已存在，不会覆盖：%1</source>
        <translation>The file already exists and will not be overwritten: %1</translation>
    </message>
    <message>
        <source>无法写入文件：%1</source>
        <translation>Cannot write the file: %1</translation>
    </message>
    <message>
        <source>这个文件不是光盘索引库 (application_id %1)</source>
        <translation>This file is not a disc catalogue (application_id %1)</translation>
    </message>
    <message>
        <source>这个文件不是光盘索引库 (缺少 %1.%2)</source>
        <translation>This file is not a disc catalogue (%1.%2 is missing)</translation>
    </message>
    <message>
        <source>这个文件不是光盘索引库 (%1 不是表)</source>
        <translation>This file is not a disc catalogue (%1 is not a table)</translation>
    </message>
    <message>
        <source>这个光盘索引库含有不是本程序建立的触发器或视图：%1</source>
        <translation>The catalogue holds triggers or views this program did not create: %1</translation>
    </message>
</context>
<context>
    <name>CatalogueWriter</name>
    <message>
        <source>正在导入第%1条记录</source>
        <translation>Importing record %1</translation>
    </message>
    <message>
        <source>完成导入</source>
        <translation>Import finished</translation>
    </message>
    <message>
        <source>导入失败</source>
        <translation>Import failed</translation>
    </message>
    <message>
        <source>光盘“%1”没有保存：<byte value="xd"/></source>
        <translation>The disc “%1” was not saved:</translation>
    </message>
</context>
<context>
    <name>CataloguedDiscs</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>CdImageOption</name>
    <message>
        <source>文件不存在。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>这不是一个文件。</source>
        <translation>This is not a file.</translation>
    </message>
    <message>
        <source>文件无法打开读取。</source>
        <translation>The file cannot be opened for reading.</translation>
    </message>
    <message>
        <source>文件中没有 ISO 9660、Joliet 或 UDF 卷，不是光盘映像。</source>
        <translation>The file holds no ISO 9660, Joliet or UDF volume; it is not a disc image.</translation>
    </message>
    <message>
        <source>没有空闲的驱动器号了。</source>
        <translation>No drive letter is free.</translation>
    </message>
    <message>
        <source>命令行参数 %1 后缺少光盘映像文件的路径。</source>
        <translation>The path of a disc image file is missing after %1.</translation>
    </message>
    <message>
        <source>无法载入光盘映像：%1</source>
        <translation>Cannot load the disc image: %1</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>连接失败</source>
        <translation>Cannot open the catalogue</translation>
    </message>
    <message>
        <source>列出光盘：名称、卷标、序列号、文件数。</source>
        <translation>Lists the discs: name, label, serial number, number of files.</translation>
    </message>
    <message>
        <source>列出一张光盘的文件：光盘名、文件名、大小、时间、路径。</source>
        <translation>Lists the files of a disc: disc, name, size, date, path.</translation>
    </message>
    <message>
        <source>光盘名</source>
        <translation>DISC</translation>
    </message>
    <message>
        <source>查找文件，条件与查询对话框相同（* 匹配任意字符）。</source>
        <translation>Searches for files as the Search dialog does (* matches any characters).</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>列出扩展名类别和它们的文件掩码。</source>
        <translation>Lists the categories and their file masks.</translation>
    </message>
    <message>
        <source>找不到扩展名类别“%1”</source>
        <translation>No category “%1”</translation>
    </message>
    <message>
        <source>不是可以读的文件夹：%1</source>
        <translation>Not a readable folder: %1</translation>
    </message>
    <message>
        <source>没有这个驱动器：%1</source>
        <translation>No such drive: %1</translation>
    </message>
    <message>
        <source>无法载入光盘映像：%1</source>
        <translation>Cannot load the disc image: %1</translation>
    </message>
    <message>
        <source>%1：光盘名不能为空</source>
        <translation>%1: the disc name must not be empty</translation>
    </message>
    <message>
        <source>%1：光盘索引库中已经有该名称的光盘了!</source>
        <translation>%1: the catalogue already holds a disc of that name.</translation>
    </message>
    <message>
        <source>%1：没有符合类别的文件</source>
        <translation>%1: no files match the category</translation>
    </message>
    <message>
        <source>完成导入：%1</source>
        <translation>Imported: %1</translation>
    </message>
    <message>
        <source>导入一个驱动器、文件夹或光盘映像（可以给出多个映像，依次导入）。</source>
        <translation>Imports a drive, a folder or disc images (several images are imported one after another).</translation>
    </message>
    <message>
        <source>光盘名。</source>
        <translation>The name of the disc.</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>用光盘的卷标作光盘名。</source>
        <translation>Names the disc after its volume label.</translation>
    </message>
    <message>
        <source>扩展名类别（例如 音乐）。</source>
        <translation>The category (for example 音乐).</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>CATEGORY</translation>
    </message>
    <message>
        <source>驱动器盘符（例如 D）。</source>
        <translation>The drive letter (for example D).</translation>
    </message>
    <message>
        <source>盘符</source>
        <translation>LETTER</translation>
    </message>
    <message>
        <source>文件夹。</source>
        <translation>The folder.</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>FOLDER</translation>
    </message>
    <message>
        <source>光盘映像文件（可以多次给出）。</source>
        <translation>A disc image file (may be given more than once).</translation>
    </message>
    <message>
        <source>映像</source>
        <translation>IMAGE</translation>
    </message>
    <message>
        <source>需要 --category、--name 或 --name-from-label（多个映像时只能用后者），以及 --drive、--folder、--image 中的一种。使用 --help 查看用法。</source>
        <translation>Needs --category, --name or --name-from-label (only the latter with several images), and one of --drive, --folder, --image. See --help.</translation>
    </message>
    <message>
        <source>把一张光盘的文件或查找结果导出为文本文件（与“导出”相同的格式）。</source>
        <translation>Exports the files of a disc or the result of a search as a text file (the format of Export).</translation>
    </message>
    <message>
        <source>[光盘名]</source>
        <translation>[DISC]</translation>
    </message>
    <message>
        <source>导出这段文字的查找结果。</source>
        <translation>Exports the result of a search for this text.</translation>
    </message>
    <message>
        <source>写入这个文件（默认写到标准输出）。</source>
        <translation>Writes to this file (standard output by default).</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>gb18030（默认）或 utf-8。</source>
        <translation>gb18030 (the default) or utf-8.</translation>
    </message>
    <message>
        <source>编码</source>
        <translation>ENCODING</translation>
    </message>
    <message>
        <source>需要一个光盘名，或者 --search；使用 --help 查看用法。</source>
        <translation>Needs a disc name or --search. See --help.</translation>
    </message>
    <message>
        <source>--encoding 只接受 gb18030 或 utf-8</source>
        <translation>--encoding takes only gb18030 or utf-8</translation>
    </message>
    <message>
        <source>共导出%1条记录</source>
        <translation>%1 records exported</translation>
    </message>
    <message>
        <source>使用这个光盘索引库文件。</source>
        <translation>Uses this catalogue file.</translation>
    </message>
    <message>
        <source>以 JSON 输出列表。</source>
        <translation>Writes the lists as JSON.</translation>
    </message>
    <message>
        <source>参数不对；使用 --help 查看用法。</source>
        <translation>Wrong arguments. See --help.</translation>
    </message>
    <message>
        <source>找不到光盘“%1”的记录</source>
        <translation>No record of the disc “%1”</translation>
    </message>
    <message>
        <source>--in 只接受 name、size、date、path：%1</source>
        <translation>--in takes only name, size, date, path: %1</translation>
    </message>
    <message>
        <source>在这些列中查找：name,size,date,path（默认 name）。</source>
        <translation>Searches these columns: name,size,date,path (name by default).</translation>
    </message>
    <message>
        <source>列</source>
        <translation>COLUMNS</translation>
    </message>
    <message>
        <source>缺少命令</source>
        <translation>No command given</translation>
    </message>
    <message>
        <source>没有这个命令：%1</source>
        <translation>No such command: %1</translation>
    </message>
    <message>
        <source>%1：</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>也按拼音（全拼或首字母）查找中文名称，如同勾选“拼音”。</source>
        <translation>Also find Chinese names by their pinyin (full spelling or initials), as the Pinyin box in the Find dialog does.</translation>
    </message>
    <message>
        <source>文件时间：created 创建时间（默认），modified 修改时间。</source>
        <translation>File time: created, the creation time (the default), or modified, the last-write time.</translation>
    </message>
    <message>
        <source>--time 只能是 created 或 modified</source>
        <translation>--time takes created or modified</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>这个光盘索引库没有搜索索引</source>
        <translation>This catalogue has no search index</translation>
    </message>
    <message>
        <source>为整个光盘索引库建立搜索索引和拼音（导入后自动进行）。</source>
        <translation>Bring the search index and the pinyin of the whole catalogue up to date (done after every import).</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>只列出借出的光盘：名称、借给谁、借出日期，借出最早的在前。</source>
        <translation>Lists only the lent discs: name, borrower, date lent, the longest out first.</translation>
    </message>
    <message>
        <source>只列出名称、卷标、位置、说明或关键词含有该文字的光盘（也按拼音）。</source>
        <translation>Lists only the discs whose name, label, location, description or keywords hold the text (also by pinyin).</translation>
    </message>
    <message>
        <source>显示一张光盘的属性：卷标、序列号、文件数、总大小、位置、说明、关键词、借出和借出记录，以及导入的情况。</source>
        <translation>Shows the properties of a disc: label, serial number, files, total size, location, description, keywords, lending and its history, and what its import was.</translation>
    </message>
    <message>
        <source>修改一张光盘的属性：位置、说明、关键词、名称和借出。</source>
        <translation>Changes the properties of a disc: location, description, keywords, name and lending.</translation>
    </message>
    <message>
        <source>光盘放在哪里。</source>
        <translation>Where the disc is kept.</translation>
    </message>
    <message>
        <source>光盘的说明。</source>
        <translation>A description of the disc.</translation>
    </message>
    <message>
        <source>关键词，用空格或逗号分开。</source>
        <translation>Keywords, separated by blanks or commas.</translation>
    </message>
    <message>
        <source>光盘的新名称。</source>
        <translation>The new name of the disc.</translation>
    </message>
    <message>
        <source>把光盘借给这个人（从今天起）。</source>
        <translation>Lends the disc to this person (from today).</translation>
    </message>
    <message>
        <source>人</source>
        <translation>PERSON</translation>
    </message>
    <message>
        <source>借出的光盘已归还。</source>
        <translation>The lent disc has come back.</translation>
    </message>
    <message>
        <source>光盘名不能为空</source>
        <translation>The disc name must not be empty</translation>
    </message>
    <message>
        <source>找不到光盘“%1”</source>
        <translation>No disc “%1”</translation>
    </message>
    <message>
        <source>以 sha256sum 的格式列出一张光盘的校验值（路径相对于光盘的根目录），在光盘的根目录下用 sha256sum -c 核对。</source>
        <translation>Lists the checksums of a disc in the format of sha256sum (paths below the disc&apos;s root); check them with sha256sum -c in the disc&apos;s root.</translation>
    </message>
    <message>
        <source>%1个文件导入时无法读取，没有校验值</source>
        <translation>%1 files could not be read at import and have no checksum</translation>
    </message>
    <message>
        <source>这张光盘导入时没有计算校验值</source>
        <translation>No checksums were computed when this disc was imported</translation>
    </message>
    <message>
        <source>副本统计：每张光盘有多少文件在别的光盘上也有。校验值相同，或没有校验值时名称、大小和时间相同的文件算作副本。</source>
        <translation>Copies: how many files of each disc are on another disc too. Files with equal checksums, or without a checksum and with equal name, size and time, count as copies.</translation>
    </message>
    <message>
        <source>列出只在一张光盘上有的文件。</source>
        <translation>Lists the files that exist on one disc only.</translation>
    </message>
    <message>
        <source>列出在几张光盘上都有的文件和这些光盘。</source>
        <translation>Lists the files held on several discs, with the discs.</translation>
    </message>
    <message>
        <source>--single 和 --duplicates 只能用一个</source>
        <translation>Use only one of --single and --duplicates</translation>
    </message>
    <message>
        <source>已校验%1个文件；%2</source>
        <translation>Checked %1 files; %2</translation>
    </message>
    <message>
        <source>已校验%1个文件</source>
        <translation>Checked %1 files</translation>
    </message>
    <message>
        <source>计算校验值：读出每个文件，保存它的 SHA-256。</source>
        <translation>Compute checksums: read every file and store its SHA-256.</translation>
    </message>
    <message>
        <source>%1：没有导入记录，无法更新</source>
        <translation>%1: no import record, cannot be updated</translation>
    </message>
    <message>
        <source>%1：找不到光盘的来源：%2</source>
        <translation>%1: cannot find the disc&apos;s source: %2</translation>
    </message>
    <message>
        <source>%1：%2（没有写入）</source>
        <translation>%1: %2 (nothing written)</translation>
    </message>
    <message>
        <source>完成更新：%1：%2</source>
        <translation>Updated: %1: %2</translation>
    </message>
    <message>
        <source>跳过 %1：找不到光盘的来源：%2</source>
        <translation>Skipped %1: cannot find the disc&apos;s source: %2</translation>
    </message>
    <message>
        <source>按导入记录重新扫描光盘或文件夹，在原处更新它的文件（光盘的编号、属性和未变文件的校验值都保留）。</source>
        <translation>Scans a disc or folder again as its import record says and updates its files in place (the disc&apos;s code, its properties and the checksums of unchanged files are kept).</translation>
    </message>
    <message>
        <source>只列出新增、删除和更改的文件，不写入。</source>
        <translation>Only lists the added, removed and changed files; writes nothing.</translation>
    </message>
    <message>
        <source>更新所有从文件夹导入、它的卷现在已挂载的光盘。</source>
        <translation>Updates every disc imported from a folder whose volume is mounted now.</translation>
    </message>
    <message>
        <source>需要一个光盘名，或者 --all-folders；使用 --help 查看用法。</source>
        <translation>Needs a disc name or --all-folders. See --help.</translation>
    </message>
    <message>
        <source>%1：%2，没有更新（%3）</source>
        <translation>%1: %2; not updated (%3)</translation>
    </message>
    <message>
        <source>无法读取压缩文件 %1</source>
        <translation>Cannot read the archive %1</translation>
    </message>
    <message>
        <source>包括压缩文件中的文件（zip、7z、rar、tar 等）。</source>
        <translation>Include the files inside archives (zip, 7z, rar, tar and others).</translation>
    </message>
    <message>
        <source>从这个驱动器读光盘（例如 D）。</source>
        <translation>Read the disc from this drive (for example D).</translation>
    </message>
    <message>
        <source>从这个文件夹读。</source>
        <translation>Read from this folder.</translation>
    </message>
    <message>
        <source>从这个光盘映像文件读。</source>
        <translation>Read from this disc image file.</translation>
    </message>
    <message>
        <source>找不到这张光盘：没有驱动器里有它，也没有导入时的文件夹。请用 --drive、--folder 或 --image 给出。</source>
        <translation>The disc cannot be found: no drive holds it and it was not imported from a folder. Give it with --drive, --folder or --image.</translation>
    </message>
    <message>
        <source>校验光盘：把光盘再读一遍，逐个文件与光盘索引库比较，列出已改变、缺少、新增、无法读取和与光盘上的校验清单不符的文件。退出状态：0 完全相同，1 有不同或缺少的文件，4 有无法读取的文件。</source>
        <translation>Verify a disc: read it again and compare it file by file with the catalogue; lists the files changed, missing, new, unreadable, or differing from a checksum list on the disc. Exit status: 0 all the same, 1 files differ or are missing, 4 files could not be read.</translation>
    </message>
    <message>
        <source>--drive、--folder 和 --image 只能用一个</source>
        <translation>Only one of --drive, --folder and --image can be used</translation>
    </message>
    <message>
        <source>只列出需要检查的光盘：从未校验过的，和上次校验在 --months 个月以前的，最久的在前：名称、上次校验时间、结果。</source>
        <translation>List only the discs to check: never verified, or last verified more than --months months ago, the oldest first: name, last verification, result.</translation>
    </message>
    <message>
        <source>与 --due 一起用：多少个月以前（默认 12）。</source>
        <translation>With --due: how many months ago (12 unless given).</translation>
    </message>
    <message>
        <source>月数</source>
        <translation>MONTHS</translation>
    </message>
    <message>
        <source>--months 要是不小于 0 的整数</source>
        <translation>--months must be a whole number not below 0</translation>
    </message>
    <message>
        <source>用法：quillon-cli 命令 [选项] [参数]

命令：
  discs        列出光盘：名称、卷标、序列号、文件数（--lent 借出的，--where 文字）
  files 光盘名  列出一张光盘的文件
  show 光盘名   显示一张光盘的属性和导入的情况
  edit 光盘名   修改位置、说明、关键词、名称和借出
  search 文字   查找文件（--in name,size,date,path）
  import       导入驱动器、文件夹或光盘映像（--checksums 同时计算校验值）
  index        为整个光盘索引库建立搜索索引和拼音
  export       把一张光盘的文件或查找结果导出为文本文件
  update 光盘名  按来源在原处更新一张光盘（--dry-run 只列出差别，--all-folders 所有文件夹）
  categories   列出扩展名类别和它们的文件掩码
  checksums 光盘名  以 sha256sum 的格式列出一张光盘的校验值
  copies [光盘名]  副本统计：只在一张光盘上有的文件（--single），几张光盘上都有的（--duplicates）
  verify 光盘名  校验光盘：再读一遍，与光盘索引库比较（discs --due 列出需要检查的光盘）

每个命令都接受 --help、--catalogue 文件 和 --json，放在命令之前或之后都可以。
输出：以 TAB 分隔的 UTF-8 文本，一行一条记录；字段中的 TAB、回车、换行和反斜杠写作 \t \r \n \\，
其他控制字符写作 \x1b（C1 写作 \u009b）。
退出状态：0 完成，1 没有找到或被拒绝（verify：有不同），2 用法不对，3 光盘索引库无法打开或写入，
4 有文件无法读取（verify）。
</source>
        <translation>Usage: quillon-cli COMMAND [OPTIONS] [ARGUMENTS]

Commands:
  discs        list the discs: name, label, serial number, number of files (--lent the lent ones, --where TEXT)
  files DISC   list the files of a disc
  show DISC    show the properties of a disc and what its import was
  edit DISC    change the location, description, keywords, name and lending
  search TEXT  search for files (--in name,size,date,path)
  import       import a drive, a folder or disc images (--checksums: compute checksums too)
  index        bring the search index and the pinyin of the whole catalogue up to date
  export       export the files of a disc or a search result as a text file
  update DISC  update a disc in place from its source (--dry-run only lists the difference, --all-folders every folder)
  categories   list the categories and their file masks
  checksums DISC  list the checksums of a disc in the format of sha256sum
  copies [DISC]   copies: files on one disc only (--single), files on several discs (--duplicates)
  verify DISC     verify a disc: read it again and compare it with the catalogue (discs --due: the discs to check)

Every command takes --help, --catalogue FILE and --json, before or after the command.
Output: tab-separated UTF-8 text, one record a line; a TAB, CR, LF or backslash inside a field is written \t \r \n \\,
any other control character \x1b (C1 \u009b).
Exit status: 0 done, 1 nothing found or refused (verify: files differ), 2 bad usage, 3 the catalogue could not be opened or written,
4 files could not be read (verify).
</translation>
    </message>
</context>
<context>
    <name>CliColumns</name>
    <message>
        <source>光盘名</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>Path</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>光盘索引库：为光盘、DVD 和文件夹建立索引，查找其中的文件。

光盘索引库文件：程序旁有 data 文件夹时为 %1（便携方式），否则为每个用户自己的 %2；--catalogue 指定另一个。</source>
        <translation>Quillon keeps a catalogue of CDs, DVDs and folders and finds the files on them.

The catalogue: %1 when a data folder stands beside the program (portable), otherwise %2 of each user; --catalogue names another one.</translation>
    </message>
    <message>
        <source>显示本帮助并退出。</source>
        <translation>Shows this help and exits.</translation>
    </message>
    <message>
        <source>显示版本并退出。</source>
        <translation>Shows the version and exits.</translation>
    </message>
    <message>
        <source>打开这个光盘索引库文件（文件必须已经存在）。</source>
        <translation>Opens this catalogue file (which must exist).</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>把光盘映像当作一个光驱里的光盘（可以多次给出）。</source>
        <translation>Treats a disc image as a disc in a drive (may be given more than once).</translation>
    </message>
    <message>
        <source>映像</source>
        <translation>IMAGE</translation>
    </message>
    <message>
        <source>使用 --help 查看可用的选项。</source>
        <translation>See --help for the options.</translation>
    </message>
    <message>
        <source>多余的参数：%1</source>
        <translation>Unexpected arguments: %1</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>找不到数据库文件：%1</source>
        <translation>Cannot find the catalogue file: %1</translation>
    </message>
    <message>
        <source>无法注册数据库函数</source>
        <translation>Cannot register the catalogue functions</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>DiscBrowser</name>
    <message>
        <source>找不到光盘“%1”的记录</source>
        <translation>No record of the disc “%1”</translation>
    </message>
    <message>
        <source>共读入:%1条记录</source>
        <translation>%1 records read</translation>
    </message>
    <message>
        <source>已读入:%1条记录</source>
        <translation>%1 records read so far</translation>
    </message>
    <message>
        <source>提示窗口</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>确实要把%1删除吗?</source>
        <translation>Do you really want to delete %1?</translation>
    </message>
</context>
<context>
    <name>DiscDifference</name>
    <message>
        <source>新增%1个文件，删除%2个，更改%3个，未变%4个</source>
        <translation>Files: %1 added, %2 removed, %3 changed, %4 unchanged</translation>
    </message>
</context>
<context>
    <name>DiscNodeLook</name>
    <message>
        <source>卷标：%1</source>
        <translation>Label: %1</translation>
    </message>
    <message>
        <source>序列号：%1</source>
        <translation>Serial number: %1</translation>
    </message>
    <message>
        <source>位置：%1</source>
        <translation>Location: %1</translation>
    </message>
    <message>
        <source>借给 %1（%2 起）</source>
        <translation>Lent to %1 (since %2)</translation>
    </message>
    <message>
        <source>今天</source>
        <translation>today</translation>
    </message>
    <message>
        <source>%1 天前</source>
        <translation>%1 days ago</translation>
    </message>
    <message>
        <source>%1 个月前</source>
        <translation>%1 months ago</translation>
    </message>
    <message>
        <source>%1 年前</source>
        <translation>%1 years ago</translation>
    </message>
    <message>
        <source>从未校验</source>
        <translation>Never verified</translation>
    </message>
    <message>
        <source>校验过，完好（%1）</source>
        <translation>Verified, whole (%1)</translation>
    </message>
    <message>
        <source>校验过，有不同的文件（%1）</source>
        <translation>Verified, files differ (%1)</translation>
    </message>
    <message>
        <source>校验过，%1个文件无法读取（%2）</source>
        <translation>Verified, %1 files unreadable (%2)</translation>
    </message>
</context>
<context>
    <name>DiscUpdate</name>
    <message>
        <source>%1（卷“%2”）</source>
        <translation>%1 (volume “%2”)</translation>
    </message>
    <message>
        <source>卷标“%1”，序列号 %2</source>
        <translation>label “%1”, serial number %2</translation>
    </message>
    <message>
        <source>正在更新第%1条记录</source>
        <translation>Updating record %1</translation>
    </message>
</context>
<context>
    <name>DiscVerification</name>
    <message>
        <source>大小 %1 → %2</source>
        <translation>size %1 → %2</translation>
    </message>
    <message>
        <source>时间 %1 → %2</source>
        <translation>time %1 → %2</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>读取出错</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>内容不同（校验值）</source>
        <translation>different content (checksum)</translation>
    </message>
    <message>
        <source>%1行无法读懂</source>
        <translation>%1 lines cannot be read</translation>
    </message>
    <message>
        <source>%1 列出的文件不在光盘上</source>
        <translation>listed in %1 but not on the disc</translation>
    </message>
    <message>
        <source>无法读取，不能按 %1 核对</source>
        <translation>unreadable, not checked against %1</translation>
    </message>
    <message>
        <source>与 %1 中的校验值不符</source>
        <translation>differs from the checksum in %1</translation>
    </message>
    <message>
        <source>已改变</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>缺少</source>
        <translation>Missing</translation>
    </message>
    <message>
        <source>新文件</source>
        <translation>New</translation>
    </message>
    <message>
        <source>无法读取</source>
        <translation>Unreadable</translation>
    </message>
    <message>
        <source>与校验清单不符</source>
        <translation>Differs from a checksum list</translation>
    </message>
    <message>
        <source>相同 %1，已改变 %2，缺少 %3，新文件 %4，无法读取 %5</source>
        <translation>same %1, changed %2, missing %3, new %4, unreadable %5</translation>
    </message>
    <message>
        <source>，与校验清单不符 %1</source>
        <translation>, differing from a checksum list %1</translation>
    </message>
    <message>
        <source>；读了 %1 MB，%2 秒，%3 MB/s</source>
        <translation>; read %1 MB in %2 s, %3 MB/s</translation>
    </message>
</context>
<context>
    <name>ExportController</name>
    <message>
        <source>文本文件 (*.Txt *.txt)</source>
        <translation>Text files (*.Txt *.txt)</translation>
    </message>
    <message>
        <source>共导出%1条记录</source>
        <translation>%1 records exported</translation>
    </message>
</context>
<context>
    <name>FileKeyReads</name>
    <message>
        <source>光盘索引库没有打开</source>
        <translation>The catalogue is not open</translation>
    </message>
</context>
<context>
    <name>FileListExport</name>
    <message>
        <source>已导出%1条记录</source>
        <translation>%1 records exported so far</translation>
    </message>
</context>
<context>
    <name>FileRowModel</name>
    <message>
        <source>（此记录已删除）</source>
        <translation>(record deleted)</translation>
    </message>
</context>
<context>
    <name>Gb18030Encoder</name>
    <message>
        <source>系统不支持 GB18030 编码</source>
        <translation>The system does not support the GB18030 encoding</translation>
    </message>
</context>
<context>
    <name>ImportController</name>
    <message>
        <source>完成导入；%1</source>
        <translation>Import complete; %1</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>ReadOnlyReason</name>
    <message>
        <source>这个光盘索引库由较新版本的程序写入，不能修改</source>
        <translation>A newer version of the program wrote this catalogue: it cannot be changed</translation>
    </message>
</context>
<context>
    <name>RowChecksums</name>
    <message>
        <source>%1个文件无法读取，没有校验值</source>
        <translation>%1 files could not be read and have no checksum</translation>
    </message>
    <message>
        <source>已校验:%1个文件，%2 MB，%3 MB/s</source>
        <translation>Checked: %1 files, %2 MB, %3 MB/s</translation>
    </message>
</context>
<context>
    <name>ScanFiles</name>
    <message>
        <source>%1个文件夹和%2个文件无法读取，没有列入</source>
        <translation>%1 folder(s) and %2 file(s) could not be read and are not listed</translation>
    </message>
    <message>
        <source>这张光盘上的文件不能直接读取</source>
        <translation>the files of this disc cannot be read directly</translation>
    </message>
    <message>
        <source>%1个压缩文件</source>
        <translation>%1 archive(s)</translation>
    </message>
    <message>
        <source>，%1个压缩文件无法读取</source>
        <translation>, %1 archive(s) could not be read</translation>
    </message>
</context>
<context>
    <name>SearchController</name>
    <message>
        <source>已查到%1条记录</source>
        <translation>%1 records found so far</translation>
    </message>
    <message>
        <source>共查到:%1条记录</source>
        <translation>%1 records found</translation>
    </message>
    <message>
        <source>查询结果</source>
        <translation>Search results</translation>
    </message>
</context>
<context>
    <name>SearchIndexBuilder</name>
    <message>
        <source>正在建立搜索索引……</source>
        <translation>Building the search index…</translation>
    </message>
    <message>
        <source>搜索索引已建好</source>
        <translation>The search index is ready</translation>
    </message>
    <message>
        <source>正在建立搜索索引：%1%</source>
        <translation>Building the search index: %1%</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>连接失败</source>
        <translation>Cannot open the catalogue</translation>
    </message>
    <message>
        <source>Quillon系列软件之-光盘索引库</source>
        <translation>Quillon Disc Catalogue</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>关于光盘索引</source>
        <translation>About Disc Catalogue</translation>
    </message>
    <message>
        <source>Quillon系列软件</source>
        <translation>Quillon Software</translation>
    </message>
    <message>
        <source>Copyright © 2026 Quillon 开发组</source>
        <translation>Copyright © 2026 the Quillon developers</translation>
    </message>
    <message>
        <source>Memory Available to Windows:</source>
        <translation>Available memory:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>无法运行默认浏览器</source>
        <translation>Cannot start the default web browser</translation>
    </message>
</context>
<context>
    <name>TCategoryChooser</name>
    <message>
        <source>添加名称(&amp;A)</source>
        <translation>&amp;Add Category</translation>
    </message>
    <message>
        <source>修改名称(&amp;E)</source>
        <translation>&amp;Rename Category</translation>
    </message>
    <message>
        <source>删除名称(&amp;D)</source>
        <translation>&amp;Delete Category</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>扩展名称：</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>文件扩展名：</source>
        <translation>File masks:</translation>
    </message>
    <message>
        <source>找不到所选的记录</source>
        <translation>Cannot find the selected record</translation>
    </message>
    <message>
        <source>函数InslbCatalog操作错误</source>
        <translation>Cannot list the file masks (InslbCatalog)</translation>
    </message>
    <message>
        <source>新的名称</source>
        <translation>New Name</translation>
    </message>
    <message>
        <source>请在输入框内输入新的名称.        </source>
        <translation>Enter the new name.</translation>
    </message>
    <message>
        <source>请在输入框内输入修改后的名称.</source>
        <translation>Enter the changed name.</translation>
    </message>
    <message>
        <source>新的文件扩展名</source>
        <translation>New File Mask</translation>
    </message>
    <message>
        <source>请在输入框内输入新的扩展名，abc. *.dat</source>
        <translation>Enter the new file mask, such as *.dat</translation>
    </message>
    <message>
        <source>错误信息:</source>
        <translation>Error message:</translation>
    </message>
</context>
<context>
    <name>TDriveListView</name>
    <message>
        <source>请选择弹出关闭的光驱!</source>
        <translation>Select the drives to open or close.</translation>
    </message>
    <message>
        <source>请选择需要关闭的光驱</source>
        <translation>Select the drives to close.</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>卷标</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>索引库中</source>
        <translation>Catalogued As</translation>
    </message>
</context>
<context>
    <name>THelpWindow</name>
    <message>
        <source>用户手册</source>
        <translation>User Manual</translation>
    </message>
    <message>
        <source>在浏览器中打开</source>
        <translation>Open in the Browser</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>没有可以打开“%1”的程序</source>
        <translation>No program can open “%1”</translation>
    </message>
</context>
<context>
    <name>TLCommBusiness</name>
    <message>
        <source>数据操作失败</source>
        <translation>The catalogue could not be changed</translation>
    </message>
    <message>
        <source>系统提示：</source>
        <translation>System message:</translation>
    </message>
</context>
<context>
    <name>TQuery</name>
    <message>
        <source>语句没有返回记录集</source>
        <translation>The statement returned no records</translation>
    </message>
    <message>
        <source>数据集未打开</source>
        <translation>The dataset is not open</translation>
    </message>
    <message>
        <source>找不到字段 %1</source>
        <translation>No field %1</translation>
    </message>
    <message>
        <source>数据集不在编辑状态</source>
        <translation>The dataset is not being edited</translation>
    </message>
    <message>
        <source>数据集未打开，不能%1</source>
        <translation>The dataset is not open: cannot %1</translation>
    </message>
    <message>
        <source>数据集不能修改</source>
        <translation>The dataset cannot be changed</translation>
    </message>
    <message>
        <source>没有当前记录，不能%1</source>
        <translation>No current record: cannot %1</translation>
    </message>
    <message>
        <source>数据集不能定位</source>
        <translation>The dataset cannot locate records</translation>
    </message>
</context>
<context>
    <name>TdmQL</name>
    <message>
        <source>文件名</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>光盘索引库正在被另一个程序使用：%1</source>
        <translation>The catalogue is in use by another program: %1</translation>
    </message>
    <message>
        <source>光盘索引库：%1</source>
        <translation>Catalogue: %1</translation>
    </message>
    <message>
        <source>错误提示</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Cannot open the catalogue</translation>
    </message>
    <message>
        <source>无法锁定光盘索引库：%1</source>
        <translation>Cannot lock the catalogue: %1</translation>
    </message>
</context>
<context>
    <name>TfrmCopies</name>
    <message>
        <source>副本统计 - %1</source>
        <translation>Copies - %1</translation>
    </message>
    <message>
        <source>副本统计</source>
        <translation>Copies</translation>
    </message>
    <message>
        <source>各光盘</source>
        <translation>Discs</translation>
    </message>
    <message>
        <source>只在一张光盘上的文件</source>
        <translation>Files on one disc only</translation>
    </message>
    <message>
        <source>在几张光盘上都有的文件</source>
        <translation>Files on several discs</translation>
    </message>
    <message>
        <source>光盘名</source>
        <translation>Disc name</translation>
    </message>
    <message>
        <source>文件数</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>别处有副本</source>
        <translation>Copied elsewhere</translation>
    </message>
    <message>
        <source>只有这一份</source>
        <translation>Only copy</translation>
    </message>
    <message>
        <source>比例</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>光盘</source>
        <translation>Discs</translation>
    </message>
    <message>
        <source>校验值</source>
        <translation>Checksum</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>副本统计：已读入%1条记录</source>
        <translation>Copies: %1 records read</translation>
    </message>
</context>
<context>
    <name>TfrmDiscDifference</name>
    <message>
        <source>更新光盘“%1”</source>
        <translation>Update the disc “%1”</translation>
    </message>
    <message>
        <source>光盘的文件没有变化。</source>
        <translation>The disc&apos;s files have not changed.</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>新增%1个文件</source>
        <translation>Files added: %1</translation>
    </message>
    <message>
        <source>删除%1个文件</source>
        <translation>Files removed: %1</translation>
    </message>
    <message>
        <source>更改%1个文件</source>
        <translation>Files changed: %1</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>……还有%1个文件</source>
        <translation>… and %1 more files</translation>
    </message>
    <message>
        <source>%1，其中的文件列为删除。</source>
        <translation>%1; their files are listed as removed.</translation>
    </message>
</context>
<context>
    <name>TfrmDiscProperties</name>
    <message>
        <source>光盘名：</source>
        <translation>Disc name:</translation>
    </message>
    <message>
        <source>卷标：</source>
        <translation>Label:</translation>
    </message>
    <message>
        <source>序列号：</source>
        <translation>Serial number:</translation>
    </message>
    <message>
        <source>文件数：</source>
        <translation>Files:</translation>
    </message>
    <message>
        <source>总大小：</source>
        <translation>Total size:</translation>
    </message>
    <message>
        <source>位置：</source>
        <translation>Location:</translation>
    </message>
    <message>
        <source>说明：</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>关键词：</source>
        <translation>Keywords:</translation>
    </message>
    <message>
        <source>借给：</source>
        <translation>Lent to:</translation>
    </message>
    <message>
        <source>借出日期：</source>
        <translation>Lent on:</translation>
    </message>
    <message>
        <source>借出记录：</source>
        <translation>Lendings:</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>驱动器 %1:，卷标 %2，序列号 %3</source>
        <translation>drive %1:, label %2, serial number %3</translation>
    </message>
    <message>
        <source>文件夹 %1</source>
        <translation>folder %1</translation>
    </message>
    <message>
        <source>光盘映像 %1</source>
        <translation>disc image %1</translation>
    </message>
    <message>
        <source>导入时间：%1</source>
        <translation>Imported: %1</translation>
    </message>
    <message>
        <source>类别：%1</source>
        <translation>Category: %1</translation>
    </message>
    <message>
        <source>文件掩码：%1</source>
        <translation>File masks: %1</translation>
    </message>
    <message>
        <source>来源：%1</source>
        <translation>Source: %1</translation>
    </message>
    <message>
        <source>文件时间：%1</source>
        <translation>File time: %1</translation>
    </message>
    <message>
        <source>修改时间</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>创建时间</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>光盘属性</source>
        <translation>Disc Properties</translation>
    </message>
    <message>
        <source>光盘</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>保管</source>
        <translation>Kept</translation>
    </message>
    <message>
        <source>借出</source>
        <translation>Lending</translation>
    </message>
    <message>
        <source>如：书房 柜2 第3格</source>
        <translation>for example: study, cabinet 2, shelf 3</translation>
    </message>
    <message>
        <source>用空格或逗号分开</source>
        <translation>separated by blanks or commas</translation>
    </message>
    <message>
        <source>归还</source>
        <translation>Returned</translation>
    </message>
    <message>
        <source>借给</source>
        <translation>Lent to</translation>
    </message>
    <message>
        <source>借出日期</source>
        <translation>Lent on</translation>
    </message>
    <message>
        <source>归还日期</source>
        <translation>Returned on</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>光盘索引库中已经有该名称的光盘了!</source>
        <translation>The catalogue already holds a disc of that name.</translation>
    </message>
    <message>
        <source>请输入光盘名</source>
        <translation>Please enter a disc name</translation>
    </message>
</context>
<context>
    <name>TfrmDueDiscs</name>
    <message>
        <source>没有需要检查的光盘</source>
        <translation>No disc is due for a check</translation>
    </message>
    <message>
        <source>双击一张光盘，在光盘目录中选中它，再用“校验光盘”检查</source>
        <translation>Double-click a disc to select it in the tree, then check it with “Verify Disc”</translation>
    </message>
    <message>
        <source>需要检查的光盘</source>
        <translation>Discs to Check</translation>
    </message>
    <message>
        <source>从未校验过的光盘，和上次校验在这么多个月以前的(&amp;M):</source>
        <translation>Discs never verified, and those last verified this many &amp;months ago:</translation>
    </message>
    <message>
        <source> 个月</source>
        <translation> months</translation>
    </message>
    <message>
        <source>光盘名</source>
        <translation>Disc name</translation>
    </message>
    <message>
        <source>上次校验</source>
        <translation>Last verified</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TfrmErrorShow</name>
    <message>
        <source>错误提示</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>详细资料》[&amp;D]</source>
        <translation>&amp;Details &gt;&gt;</translation>
    </message>
    <message>
        <source>隐藏《[&amp;S]</source>
        <translation>&lt;&lt; Hide &amp;Details</translation>
    </message>
    <message>
        <source>关闭[&amp;C]</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TfrmExtEdition</name>
    <message>
        <source>扩展名编辑</source>
        <translation>Edit Categories</translation>
    </message>
    <message>
        <source>光盘导入</source>
        <translation>Import Disc</translation>
    </message>
    <message>
        <source>磁盘导入</source>
        <translation>Import Folder</translation>
    </message>
    <message>
        <source>菜单(&amp;c)</source>
        <translation>&amp;Category</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>导入名称：</source>
        <translation>Import as:</translation>
    </message>
    <message>
        <source>光盘名:</source>
        <translation>Disc name:</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>此光盘已在索引库中：%1</source>
        <translation>This disc is already catalogued as: %1</translation>
    </message>
    <message>
        <source>光盘索引库中已经有该名称的光盘了!</source>
        <translation>The catalogue already holds a disc of that name.</translation>
    </message>
    <message>
        <source>驱动器中没有光盘</source>
        <translation>There is no disc in the drive</translation>
    </message>
    <message>
        <source>没有找到符合扩展名的文件</source>
        <translation>No files match the category&apos;s masks</translation>
    </message>
    <message>
        <source>请选择文件夹，再点击“导入”</source>
        <translation>Choose a folder, then click Import</translation>
    </message>
    <message>
        <source>请点击光盘所在的驱动器</source>
        <translation>Click the drive that holds the disc</translation>
    </message>
    <message>
        <source>没有光盘驱动器。

文件夹请用“文件”菜单里的“磁盘导入”导入。

光盘映像（.iso）可以这样当作光盘导入：
quillon --cd-image 映像文件</source>
        <translation>There is no optical drive.

Import a folder with File → Import Folder.

A disc image (.iso) can be imported as a disc: start the program with
quillon --cd-image IMAGE-FILE</translation>
    </message>
    <message>
        <source>文件时间：</source>
        <translation>File time:</translation>
    </message>
    <message>
        <source>创建时间</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>修改时间</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>请输入导入名称</source>
        <translation>Please enter a name for the import</translation>
    </message>
    <message>
        <source>请输入光盘名</source>
        <translation>Please enter a disc name</translation>
    </message>
    <message>
        <source>没有光盘驱动器</source>
        <translation>There is no optical drive</translation>
    </message>
    <message>
        <source>计算校验值</source>
        <translation>Compute checksums</translation>
    </message>
    <message>
        <source>包括压缩文件中的文件</source>
        <translation>Include the files inside archives</translation>
    </message>
</context>
<context>
    <name>TfrmLentDiscs</name>
    <message>
        <source>借出的光盘</source>
        <translation>Lent Discs</translation>
    </message>
    <message>
        <source>光盘名</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>借给</source>
        <translation>Lent to</translation>
    </message>
    <message>
        <source>借出日期</source>
        <translation>Lent on</translation>
    </message>
    <message>
        <source>没有借出的光盘</source>
        <translation>No disc is lent out</translation>
    </message>
    <message>
        <source>双击一张光盘，在光盘目录中选中它</source>
        <translation>Double-click a disc to select it in the disc tree</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>光盘导入(&amp;I)</source>
        <translation>&amp;Import Disc</translation>
    </message>
    <message>
        <source>光盘导入</source>
        <translation>Import a disc</translation>
    </message>
    <message>
        <source>导出(&amp;E)</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export the list as text</translation>
    </message>
    <message>
        <source>扩展名编辑</source>
        <translation>Edit Categories</translation>
    </message>
    <message>
        <source>查询(&amp;F)</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search the catalogue</translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete the disc</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>用户手册(&amp;H)</source>
        <translation>User &amp;Manual</translation>
    </message>
    <message>
        <source>关于光盘索引(&amp;A)</source>
        <translation>&amp;About Disc Catalogue</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>  弹  出</source>
        <translation>Eject</translation>
    </message>
    <message>
        <source>  关  闭</source>
        <translation>Close Tray</translation>
    </message>
    <message>
        <source>全部弹出</source>
        <translation>Eject All</translation>
    </message>
    <message>
        <source>全部关闭</source>
        <translation>Close All Trays</translation>
    </message>
    <message>
        <source>磁盘导入</source>
        <translation>Import a folder</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>新的CD</source>
        <translation>New CD</translation>
    </message>
    <message>
        <source>光盘索引库</source>
        <translation>Disc Catalogue</translation>
    </message>
    <message>
        <source>光盘名</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>打开帮助文件时出现异常</source>
        <translation>The manual could not be opened.</translation>
    </message>
    <message>
        <source>属性(&amp;R)</source>
        <translation>P&amp;roperties</translation>
    </message>
    <message>
        <source>光盘的位置、说明、关键词和借出</source>
        <translation>Where the disc is kept, its description, keywords and lending</translation>
    </message>
    <message>
        <source>借出的光盘(&amp;L)</source>
        <translation>&amp;Lent Discs</translation>
    </message>
    <message>
        <source>列出借出的光盘</source>
        <translation>List the lent discs</translation>
    </message>
    <message>
        <source>查找光盘…</source>
        <translation>Find a disc…</translation>
    </message>
    <message>
        <source>按光盘名、卷标、位置、说明或关键词查找光盘，也按拼音</source>
        <translation>Finds discs by name, label, location, description or keywords, also by pinyin</translation>
    </message>
    <message>
        <source>副本统计(&amp;C)</source>
        <translation>&amp;Copies</translation>
    </message>
    <message>
        <source>哪些文件只在一张光盘上，哪些在几张光盘上都有</source>
        <translation>Which files exist on one disc only, and which on several</translation>
    </message>
    <message>
        <source>副本统计</source>
        <translation>Copies</translation>
    </message>
    <message>
        <source>这张光盘的文件在别的光盘上有没有副本</source>
        <translation>Whether the files of this disc have copies on other discs</translation>
    </message>
    <message>
        <source>更新(&amp;U)</source>
        <translation>&amp;Update</translation>
    </message>
    <message>
        <source>按导入记录重新扫描光盘的来源，在原处更新它的文件</source>
        <translation>Scan the disc&apos;s source again as its import record says and update its files in place</translation>
    </message>
    <message>
        <source>校验光盘(&amp;V)</source>
        <translation>&amp;Verify Disc</translation>
    </message>
    <message>
        <source>把光盘再读一遍，与光盘索引库比较：文件是否都还能读，有没有改变</source>
        <translation>Read the disc again and compare it with the catalogue: do all files still read, did any change</translation>
    </message>
    <message>
        <source>需要检查的光盘(&amp;K)</source>
        <translation>Discs to Chec&amp;k</translation>
    </message>
    <message>
        <source>从未校验过的光盘，和很久没有校验的光盘</source>
        <translation>The discs never verified, and those not verified for long</translation>
    </message>
</context>
<context>
    <name>TfrmSearch</name>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>需要查找的字段</source>
        <translation>Look in</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>全无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>查询(&amp;F)</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>拼音</source>
        <translation>Pinyin</translation>
    </message>
    <message>
        <source>也按拼音查找中文名称：全拼（zhoujielun）或首字母（zjl）</source>
        <translation>Also find Chinese names by their pinyin: full spelling (zhoujielun) or initials (zjl)</translation>
    </message>
</context>
<context>
    <name>TfrmVerify</name>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>校验光盘 - %1</source>
        <translation>Verify Disc - %1</translation>
    </message>
    <message>
        <source>校验光盘 %1</source>
        <translation>Verification of %1</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>导出(&amp;E)...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>UpdateController</name>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>正在扫描光盘“%1”的来源……</source>
        <translation>Scanning the source of the disc “%1”…</translation>
    </message>
    <message>
        <source>光盘“%1”没有导入记录，无法更新。</source>
        <translation>The disc “%1” has no import record and cannot be updated.</translation>
    </message>
    <message>
        <source>找不到光盘的来源：%1</source>
        <translation>Cannot find the disc&apos;s source: %1</translation>
    </message>
    <message>
        <source>更新已停止，光盘没有改变</source>
        <translation>Update stopped; the disc is unchanged</translation>
    </message>
    <message>
        <source>正在更新光盘“%1”……</source>
        <translation>Updating the disc “%1”…</translation>
    </message>
    <message>
        <source>更新失败</source>
        <translation>Update failed</translation>
    </message>
    <message>
        <source>光盘“%1”没有更新：<byte value="xd"/></source>
        <translation>The disc “%1” was not updated:<byte value="xd"/></translation>
    </message>
    <message>
        <source>完成更新：%1</source>
        <translation>Updated: %1</translation>
    </message>
</context>
<context>
    <name>VerifyController</name>
    <message>
        <source>找不到光盘“%1”：请把它放进驱动器，或选择它所在的文件夹</source>
        <translation>Disc “%1” cannot be found: put it in a drive, or choose the folder it is in</translation>
    </message>
    <message>
        <source>校验光盘</source>
        <translation>Verify Disc</translation>
    </message>
    <message>
        <source>不是可以读的文件夹：%1</source>
        <translation>Not a folder that can be read: %1</translation>
    </message>
    <message>
        <source>正在校验光盘“%1”...</source>
        <translation>Verifying disc “%1”...</translation>
    </message>
    <message>
        <source>校验已停止</source>
        <translation>Verification stopped</translation>
    </message>
</context>
</TS>
