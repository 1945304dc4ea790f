<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>KitOptionsDialog</name>
    <message>
        <source>Web Font Options</source>
        <translation>网页字体选项</translation>
    </message>
    <message>
        <source>The font&apos;s own family</source>
        <translation>字体自身的字体族名</translation>
    </message>
    <message>
        <source>Automatic: told from the font</source>
        <translation>自动：根据字体判断</translation>
    </message>
    <message>
        <source>Simplified Chinese (zh-Hans)</source>
        <translation>简体中文 (zh-Hans)</translation>
    </message>
    <message>
        <source>Traditional Chinese (zh-Hant)</source>
        <translation>繁体中文 (zh-Hant)</translation>
    </message>
    <message>
        <source>Hong Kong Chinese (zh-HK)</source>
        <translation>香港中文 (zh-HK)</translation>
    </message>
    <message>
        <source>Japanese (ja)</source>
        <translation>日语 (ja)</translation>
    </message>
    <message>
        <source>Korean (ko)</source>
        <translation>韩语 (ko)</translation>
    </message>
    <message>
        <source>Name &amp;installed copies with local()</source>
        <translation>用 local() 指向已安装的副本(&amp;I)</translation>
    </message>
    <message>
        <source>CSS &amp;family name</source>
        <translation>CSS 字体族名(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>Orders the CJK slices by the language&apos;s character frequencies. A kit of one language leaves out the forms other languages use.</source>
        <translation>按该语言的字频划分中日韩字符的分片。
单一语言的字体包会去掉其他语言所用的字形。</translation>
    </message>
    <message>
        <source>font-&amp;display</source>
        <translation>font-display(&amp;D)</translation>
    </message>
    <message>
        <source>An installed copy of the font, of whatever version, then draws in place of the slices. The preview page never uses one.</source>
        <translation>这样，用户已安装的该字体副本（无论哪个版本）
会代替分片显示文字。预览页从不使用它。</translation>
    </message>
</context>
<context>
    <name>KitPreview</name>
    <message>
        <source>en</source>
        <comment>the language of the preview page, as an HTML lang tag</comment>
        <translation>zh-Hans</translation>
    </message>
    <message>
        <source>sliced by the text&apos;s use</source>
        <translation>按文本用字分片</translation>
    </message>
    <message>
        <source>sliced by Unicode block</source>
        <translation>按 Unicode 区块分片</translation>
    </message>
    <message>
        <source>sliced by the %1 frequency slices</source>
        <translation>按 %1 字频分片</translation>
    </message>
    <message>
        <source>This text fetches %1 of %2 slices: %3 bytes.</source>
        <translation>这段文字需要取回 %2 个分片中的 %1 个，共 %3 字节。</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>Browsers load no web fonts into a page opened from a file: serve this folder over HTTP and open the page there (the window&apos;s &quot;Preview&quot; does).</source>
        <translation>浏览器不为以文件方式打开的页面载入网页字体：请通过 HTTP 提供此文件夹，再从那里打开本页（窗口中的“预览”正是这样做的）。</translation>
    </message>
    <message>
        <source>Type here to see the text drawn in the web font; only the slices it needs are fetched.</source>
        <translation>在此输入文字，即可看到它以网页字体显示的样子；只会取回它所需要的分片。</translation>
    </message>
    <message>
        <source>PostScript name %1; weight %2, %3; %4, %5 bytes; %6</source>
        <translation>PostScript 名称 %1；字重 %2，%3；%4，%5 字节；%6</translation>
    </message>
    <message>
        <source>%1 slice</source>
        <translation>%1 个分片</translation>
    </message>
    <message>
        <source>%1 slices</source>
        <translation>%1 个分片</translation>
    </message>
    <message>
        <source>%1: %2 bytes, %3</source>
        <translation>%1：%2 字节，%3</translation>
    </message>
    <message>
        <source>%1 character</source>
        <translation>%1 个字符</translation>
    </message>
    <message>
        <source>%1 characters</source>
        <translation>%1 个字符</translation>
    </message>
    <message>
        <source>The kit&apos;s report could not be read: what the text costs is not known.</source>
        <translation>无法读取字体包的报告：不知道这段文字需要取回多少。</translation>
    </message>
    <message>
        <source>What each page of the site fetches</source>
        <translation>网站每个页面取回的分片</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>页面</translation>
    </message>
    <message>
        <source>Slices</source>
        <translation>分片</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>字节</translation>
    </message>
</context>
<context>
    <name>SubsetPreview</name>
    <message>
        <source>The subset could not be loaded for a preview.</source>
        <translation>无法载入子集字体以预览。</translation>
    </message>
    <message>
        <source>Drawn in the default face %1, which was subset instead:</source>
        <translation>以默认字体 %1 显示（已改用它制作子集）：</translation>
    </message>
    <message>
        <source>Drawn in the subset %1:</source>
        <translation>以子集字体 %1 显示：</translation>
    </message>
</context>
<context>
    <name>Tessaglyph</name>
    <message>
        <source>Select File</source>
        <translation>选择文件</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>Text File(*.txt)</source>
        <translation>文本文件(*.txt)</translation>
    </message>
    <message>
        <source>%1 was read as GB2312.</source>
        <translation>%1 已按 GB2312 编码读入。</translation>
    </message>
    <message>
        <source>Font Cutting</source>
        <translation>字体裁剪</translation>
    </message>
    <message>
        <source>TTC Font Split</source>
        <translation>TTC 字体拆分</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Tessaglyph</source>
        <translation>Tessaglyph 字体工具</translation>
    </message>
    <message>
        <source>TrueType Collection File(*.ttc)</source>
        <translation>TrueType 字体集合文件(*.ttc)</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>警告！</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Excute successfully!</source>
        <translation>执行成功！</translation>
    </message>
    <message>
        <source>The output folder %1 does not exist.</source>
        <translation>输出文件夹 %1 不存在。</translation>
    </message>
    <message>
        <source>The output folder %1 is not writable.</source>
        <translation>输出文件夹 %1 不可写入。</translation>
    </message>
    <message>
        <source>The output file path cannot be empty!</source>
        <translation>输出文件路径不能为空！</translation>
    </message>
    <message>
        <source>The output folder %1 keeps the fonts this program extracts; choose another output folder.</source>
        <translation>输出文件夹 %1 保存着本程序提取的字体，请选择其他输出文件夹。</translation>
    </message>
    <message>
        <source>The output %1 would replace the font it is made from; choose another output folder.</source>
        <translation>输出文件 %1 会覆盖其源字体，请选择其他输出文件夹。</translation>
    </message>
    <message>
        <source>The file path cannot be empty!</source>
        <translation>文件路径不能为空！</translation>
    </message>
    <message>
        <source>The file is not a valid ttf font file!</source>
        <translation>该文件不是有效的 ttf 字体文件！</translation>
    </message>
    <message>
        <source>The font name &quot;%1&quot; cannot be used as a file name.</source>
        <translation>字体名称“%1”不能用作文件名。</translation>
    </message>
    <message>
        <source>The path cannot be empty!</source>
        <translation>路径不能为空！</translation>
    </message>
    <message>
        <source>The collection %1 could not be split: it is not a valid TrueType collection, or one of its members is damaged.</source>
        <translation>无法拆分字体集合 %1：它不是有效的 TrueType 字体集合，或其中某个字体已损坏。</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>文件 %1 不存在。</translation>
    </message>
    <message>
        <source>The family %1 is not installed.</source>
        <translation>字体 %1 未安装。</translation>
    </message>
    <message>
        <source>The font of %1 could not be loaded.</source>
        <translation>无法加载 %1 的字体。</translation>
    </message>
    <message>
        <source>%1 has none of the characters of the text.</source>
        <translation>%1 不含文本中的任何字符。</translation>
    </message>
    <message>
        <source>The subset was made from the default face %1 instead.</source>
        <translation>已改用默认字体 %1 进行裁剪。</translation>
    </message>
    <message>
        <source>Neither %1 nor the default face %2 has any of the characters of the text; nothing was written.</source>
        <translation>%1 和默认字体 %2 都不含文本中的任何字符，未写入任何文件。</translation>
    </message>
    <message>
        <source>The default face %1 has none of the characters of the text; nothing was written.</source>
        <translation>默认字体 %1 不含文本中的任何字符，未写入任何文件。</translation>
    </message>
    <message>
        <source>The default face %1 could not be loaded; nothing was written.</source>
        <translation>无法加载默认字体 %1，未写入任何文件。</translation>
    </message>
    <message>
        <source>The subset font %1 could not be made: the source font is damaged or not supported.</source>
        <translation>无法生成裁剪字体 %1：源字体已损坏或不受支持。</translation>
    </message>
    <message>
        <source>The subset font %1 could not be written: %2.</source>
        <translation>无法写入裁剪字体 %1：%2。</translation>
    </message>
    <message>
        <source>The file %1 could not be read: %2.</source>
        <translation>无法读取文件 %1：%2。</translation>
    </message>
    <message>
        <source>The file %1 is a font collection: split it, or pick its family by name.</source>
        <translation>文件 %1 是字体集合：请先拆分，或按字族名选择其中的字体。</translation>
    </message>
    <message>
        <source>The file %1 is not a TrueType or OpenType font.</source>
        <translation>文件 %1 不是 TrueType 或 OpenType 字体。</translation>
    </message>
    <message>
        <source>The font %1 is damaged: its table directory is cut short or empty.</source>
        <translation>字体 %1 已损坏：其表目录不完整或为空。</translation>
    </message>
    <message>
        <source>The font %1 is damaged: its &apos;%2&apos; table lies outside the file.</source>
        <translation>字体 %1 已损坏：其“%2”表超出了文件范围。</translation>
    </message>
    <message>
        <source>The WOFF2 font %1 is damaged: it could not be decoded.</source>
        <translation>WOFF2 字体 %1 已损坏：无法解码。</translation>
    </message>
    <message>
        <source>The WOFF2 font %1 would be larger than %2 MB once decoded; it was not read.</source>
        <translation>WOFF2 字体 %1 解码后将大于 %2 MB，未读取。</translation>
    </message>
    <message>
        <source>The subset font %1 was not written: %2 maps characters of the text, but the subset made from it maps none of them.</source>
        <translation>未写入裁剪字体 %1：%2 含有文本中的字符，但由它生成的裁剪字体一个也不含。</translation>
    </message>
    <message>
        <source>The subset font %1 could not be encoded as WOFF2; nothing was written.</source>
        <translation>无法将裁剪字体 %1 编码为 WOFF2，未写入任何文件。</translation>
    </message>
    <message>
        <source>The font of %1 could not be extracted (%2); it was subset from its collection %3 directly.</source>
        <translation>无法提取 %1 的字体（%2）；已直接从字体集合 %3 裁剪。</translation>
    </message>
    <message>
        <source>%1: %2 bytes, glyphs: %3, made from %4 (%5).</source>
        <translation>%1：%2 字节，%3 个字形，取自 %4（%5）。</translation>
    </message>
    <message>
        <source>The font lacks %1 of the characters: %2</source>
        <translation>字体缺少 %1 个字符：%2</translation>
    </message>
    <message>
        <source>%1: %2 bytes.</source>
        <translation>%1：%2 字节。</translation>
    </message>
    <message>
        <source>Member %1 is member %2 again.</source>
        <translation>成员 %1 与成员 %2 是同一字体。</translation>
    </message>
    <message>
        <source>Member %1 is member %2 again: %3.</source>
        <translation>成员 %1 与成员 %2 是同一字体：%3。</translation>
    </message>
    <message>
        <source>Member %1 was skipped: its family name has no printable character.</source>
        <translation>成员 %1 已跳过：其字体族名称没有可显示的字符。</translation>
    </message>
    <message>
        <source>The collection %1 was not split: its members need %2 bytes, and %3 has %4 bytes free.</source>
        <translation>字体集合 %1 未拆分：其成员需要 %2 字节，而 %3 只有 %4 字节可用空间。</translation>
    </message>
    <message>
        <source>The collection %1 has no members; nothing was written.</source>
        <translation>字体集合 %1 没有成员，未写入任何文件。</translation>
    </message>
    <message>
        <source>No member of the collection %1 has a family name that can be a file name; nothing was written.</source>
        <translation>字体集合 %1 没有一个成员的字体族名称可用作文件名，未写入任何文件。</translation>
    </message>
    <message>
        <source>%1 was kept as it was: a file of that name exists.</source>
        <translation>%1 已有同名文件，保持不变。</translation>
    </message>
    <message>
        <source>Member %1 was skipped: its family name &quot;%2&quot; cannot be a file name.</source>
        <translation>已跳过第 %1 个字体：其字族名“%2”不能用作文件名。</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.</source>
        <translation>无法写入 %1：%2。</translation>
    </message>
    <message>
        <source>The collection %1 was not split whole: %2 of its %3 members could not be written.</source>
        <translation>字体集合 %1 未能完整拆分：%3 个字体中有 %2 个无法写入。</translation>
    </message>
    <message>
        <source>Tessaglyph %1
Copyright 2026 Tessaglyph developers
Free software under the MIT licence.</source>
        <translation>Tessaglyph %1
版权所有 2026 Tessaglyph 开发者
以 MIT 许可证发布的自由软件。</translation>
    </message>
    <message>
        <source>Web Font</source>
        <translation>网页字体</translation>
    </message>
    <message>
        <source>The family %1 is not installed; nothing was written.</source>
        <translation>未安装字体族 %1；未写入任何文件。</translation>
    </message>
    <message>
        <source>The font %1 is not a valid TrueType or OpenType font, or it is damaged; nothing was written.</source>
        <translation>字体 %1 不是有效的 TrueType 或 OpenType 字体，或已损坏；未写入任何文件。</translation>
    </message>
    <message>
        <source>Choose either a font file or an installed family.</source>
        <translation>请选择字体文件或已安装的字体族，二者择一。</translation>
    </message>
    <message>
        <source>font-display takes auto, block, swap, fallback or optional, not %1.</source>
        <translation>font-display 只能是 auto、block、swap、fallback 或 optional，不能是 %1。</translation>
    </message>
    <message>
        <source>The language takes zh-Hans, zh-Hant, zh-HK, ja or ko, not %1.</source>
        <translation>语言只能是 zh-Hans、zh-Hant、zh-HK、ja 或 ko，不能是 %1。</translation>
    </message>
    <message>
        <source>The font has none of the characters of the text; nothing was written.</source>
        <translation>字体不含文本中的任何字符；未写入任何文件。</translation>
    </message>
    <message>
        <source>The web font could not be made from %1: the font is damaged or not supported; nothing was written.</source>
        <translation>无法由 %1 制作网页字体：字体已损坏或不受支持；未写入任何文件。</translation>
    </message>
    <message>
        <source>%1 could not be written: %2; nothing was written.</source>
        <translation>无法写入 %1：%2；未写入任何文件。</translation>
    </message>
    <message>
        <source>The kit was cancelled; none of its files were left.</source>
        <translation>已取消制作网页字体；未留下任何文件。</translation>
    </message>
    <message>
        <source>The font %1 is a collection: take one of its families with --family, or split it first; nothing was written.</source>
        <translation>字体 %1 是字体集合：请用 --family 取其中一个字族，或先将其拆分；未写入任何文件。</translation>
    </message>
    <message numerus="yes">
        <source>%1: %2 bytes, %3 characters, slices: %n (%4, by Unicode block).</source>
        <translation>
            <numerusform>%1：%n 个分片，%2 字节，%3 个字符（%4，按 Unicode 区块分片）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %2 bytes, %3 characters, slices: %n (%4, by the %5 frequency slices).</source>
        <translation>
            <numerusform>%1：%n 个分片，%2 字节，%3 个字符（%4，按 %5 字频分片）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Slices already in the folder with the same bytes, kept: %n.</source>
        <translation>
            <numerusform>文件夹中已有 %n 个内容相同的分片，已保留。</numerusform>
        </translation>
    </message>
    <message>
        <source>Select From &amp;System Font</source>
        <translation>从系统字体中选择(&amp;S)</translation>
    </message>
    <message>
        <source>Select &amp;Font</source>
        <translation>选择字体(&amp;F)</translation>
    </message>
    <message>
        <source>Select Font Fi&amp;le</source>
        <translation>选择字体文件(&amp;L)</translation>
    </message>
    <message>
        <source>Choose a font file</source>
        <translation>选择字体文件</translation>
    </message>
    <message>
        <source>Sa&amp;ve Font File</source>
        <translation>保存字体文件(&amp;V)</translation>
    </message>
    <message>
        <source>Choose the output folder</source>
        <translation>选择输出文件夹</translation>
    </message>
    <message>
        <source>Please input the &amp;characters</source>
        <translation>请输入要保留的字符(&amp;C)</translation>
    </message>
    <message>
        <source>I&amp;mport From File</source>
        <translation>从文件导入(&amp;M)</translation>
    </message>
    <message>
        <source>Closes the window</source>
        <translation>关闭窗口</translation>
    </message>
    <message>
        <source>&amp;Open File</source>
        <translation>打开文件(&amp;O)</translation>
    </message>
    <message>
        <source>Choose a font collection</source>
        <translation>选择字体集合文件</translation>
    </message>
    <message>
        <source>Output &amp;Directory</source>
        <translation>输出目录(&amp;D)</translation>
    </message>
    <message>
        <source>%1 more</source>
        <translation>另有 %1 个</translation>
    </message>
    <message>
        <source>Another run is writing a kit into %1; nothing was written.</source>
        <translation>另一个任务正在向 %1 写入字体包；未写入任何文件。</translation>
    </message>
    <message>
        <source>%1 cannot be a file name in %2; nothing was written.</source>
        <translation>%1 不能用作 %2 中的文件名；未写入任何文件。</translation>
    </message>
    <message>
        <source>%1 is in the folder and was not written by a kit; nothing was written. Move it, or choose another folder.</source>
        <translation>文件夹中已有 %1，它不是字体包写入的；未写入任何文件。请移走它，或选择其他文件夹。</translation>
    </message>
    <message>
        <source>The folder %1 could not be synced: %2.</source>
        <translation>无法同步文件夹 %1：%2。</translation>
    </message>
    <message>
        <source>The folder %1 could not be locked: %2; nothing was written.</source>
        <translation>无法锁定文件夹 %1：%2；未写入任何文件。</translation>
    </message>
    <message numerus="yes">
        <source>Slices in the folder whose bytes were not those of their names, replaced: %n.</source>
        <translation>
            <numerusform>文件夹中内容与文件名不符的分片已替换：%n 个。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Slices of the earlier kit that the CSS no longer names, removed: %n.</source>
        <translation>
            <numerusform>CSS 不再引用的旧字体包分片已删除：%n 个。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Slices of the earlier kit left in place, as their bytes are not those of their names: %n.</source>
        <translation>
            <numerusform>内容与文件名不符、因而留在原处的旧字体包分片：%n 个。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Slices of the earlier kit that the CSS no longer names: %n, %1 bytes in all.</source>
        <translation>
            <numerusform>CSS 不再引用的旧字体包分片：%n 个，共 %1 字节。</numerusform>
        </translation>
    </message>
    <message>
        <source>The slice cache could not be used (%1); every slice was made.</source>
        <translation>无法使用分片缓存（%1），所有分片均重新制作。</translation>
    </message>
    <message numerus="yes">
        <source>Slices that could not be kept in the slice cache %1: %n.</source>
        <translation>
            <numerusform>未能存入分片缓存 %1 的分片：%n 个。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Slices copied from the slice cache: %n of %1.</source>
        <translation>
            <numerusform>从分片缓存复制的分片：%n 个，共 %1 个。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %2 bytes, %3 characters, slices: %n (%4, by the text&apos;s use).</source>
        <translation>
            <numerusform>%1：%n 个分片，%2 字节，%3 个字符（%4，按文本用字分片）。</numerusform>
        </translation>
    </message>
    <message>
        <source>Smaller fonts make web pages faster</source>
        <translation>字体裁剪工具让中文网页更轻快</translation>
    </message>
    <message>
        <source>:logo.png</source>
        <comment>the logo&apos;s picture, whose subtitle is in the window&apos;s language</comment>
        <translation>:logo-zh.png</translation>
    </message>
    <message>
        <source>Font File(*.ttf *.otf *.woff2)</source>
        <translation>字体文件(*.ttf *.otf *.woff2)</translation>
    </message>
    <message>
        <source>Accept waits for the web-font kit.</source>
        <translation>字体包制作完成后才能“确定”。</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1%2</translation>
    </message>
    <message>
        <source>The job&apos;s lines</source>
        <translation>任务详情</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>未写入任何文件。</translation>
    </message>
    <message>
        <source>The ligatures of %1 ask for more reading than its size allows (a damaged font); those past what was read may be drawn apart in the kit.</source>
        <translation>%1 的连字所需读取的内容超出其大小所允许的范围（字体已损坏）；未读到的连字在字体包中可能被拆开绘制。</translation>
    </message>
    <message>
        <source>HarfBuzz could not make a slice of all the characters that %1 shapes together; they were cut into several slices, and some of them may be drawn apart in the kit.</source>
        <translation>HarfBuzz 无法用 %1 中需要一起整形的全部字符制作一个分片；这些字符已被拆分到多个分片中，其中一些在字体包中可能被拆开绘制。</translation>
    </message>
</context>
<context>
    <name>WebFontPage</name>
    <message>
        <source>The preview page cannot be served: no local port could be opened.</source>
        <translation>无法提供预览页面：无法打开本地端口。</translation>
    </message>
    <message>
        <source>Empty: every character of the font</source>
        <translation>留空：保留字体的全部字符</translation>
    </message>
    <message>
        <source>Output Directory</source>
        <translation>输出目录</translation>
    </message>
    <message>
        <source>%1 of %2 slices</source>
        <translation>%1 / %2 个分片</translation>
    </message>
    <message>
        <source>The output folder cannot be empty!</source>
        <translation>输出目录不能为空！</translation>
    </message>
    <message>
        <source>The font file cannot be empty!</source>
        <translation>字体文件不能为空！</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>警告！</translation>
    </message>
    <message>
        <source>%1: %2 bytes in all, slices: %3.</source>
        <translation>%1：共 %2 字节，分片：%3 个。</translation>
    </message>
    <message>
        <source>No program could open the folder %1. Open it by hand in a file manager.</source>
        <translation>没有程序能打开文件夹 %1。请在文件管理器中手动打开。</translation>
    </message>
    <message>
        <source>No program could open the preview page. Open this address by hand in a web browser: %1</source>
        <translation>没有程序能打开预览页。请在网页浏览器中手动打开此地址：%1</translation>
    </message>
    <message>
        <source>Open &amp;Folder</source>
        <translation>打开文件夹(&amp;F)</translation>
    </message>
    <message>
        <source>Open &amp;Preview</source>
        <translation>打开预览(&amp;P)</translation>
    </message>
    <message>
        <source>The preview page is served at %1 while the window is open; the page&apos;s &quot;Preview&quot; opens it again.</source>
        <translation>窗口打开期间，预览页在 %1 提供；页面上的“预览”可再次打开它。</translation>
    </message>
    <message>
        <source>To &amp;use the kit, link its CSS from a page beside it and name its family:</source>
        <translation>使用字体包(&amp;U)：在与它同处的网页中链接它的 CSS，
并写明字体族名：</translation>
    </message>
    <message>
        <source>CSS to paste</source>
        <translation>要粘贴的 CSS</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <source>Copies the CSS to paste</source>
        <translation>复制要粘贴的 CSS</translation>
    </message>
    <message>
        <source>Select From &amp;System Font</source>
        <translation>从系统字体中选择(&amp;S)</translation>
    </message>
    <message>
        <source>Select &amp;Font</source>
        <translation>选择字体(&amp;F)</translation>
    </message>
    <message>
        <source>Select Font Fi&amp;le</source>
        <translation>选择字体文件(&amp;L)</translation>
    </message>
    <message>
        <source>Choose a font file</source>
        <translation>选择字体文件</translation>
    </message>
    <message>
        <source>Only &amp;these characters</source>
        <translation>仅保留这些字符(&amp;T)</translation>
    </message>
    <message>
        <source>Optio&amp;ns…</source>
        <translation>选项…(&amp;N)</translation>
    </message>
    <message>
        <source>CSS family name, language, local() and font-display</source>
        <translation>CSS 字体族名、语言、local() 与 font-display</translation>
    </message>
    <message>
        <source>I&amp;mport From File</source>
        <translation>从文件导入(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Output Directory</source>
        <translation>输出目录(&amp;O)</translation>
    </message>
    <message>
        <source>Choose the output folder</source>
        <translation>选择输出文件夹</translation>
    </message>
    <message>
        <source>Slices made</source>
        <translation>已制作的分片</translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation>停止(&amp;P)</translation>
    </message>
    <message>
        <source>Stops the kit; none of its files are left</source>
        <translation>停止制作字体包；不留下它的任何文件</translation>
    </message>
    <message>
        <source>Pre&amp;view</source>
        <translation>预览(&amp;V)</translation>
    </message>
    <message>
        <source>Opens the last kit&apos;s preview page</source>
        <translation>打开上一个字体包的预览页</translation>
    </message>
    <message>
        <source>Stopping…</source>
        <translation>正在停止…</translation>
    </message>
    <message>
        <source>Stop the Kit?</source>
        <translation>停止制作字体包？</translation>
    </message>
    <message>
        <source>A web-font kit is being made: %1 of %2 slices. Stop it and close the window? None of its files are left in the folder.</source>
        <translation>正在制作网页字体包：已完成 %2 个分片中的 %1 个。要停止制作并关闭窗口吗？文件夹中不会留下它的任何文件。</translation>
    </message>
    <message>
        <source>A web-font kit is being made. Stop it and close the window? None of its files are left in the folder.</source>
        <translation>正在制作网页字体包。要停止制作并关闭窗口吗？文件夹中不会留下它的任何文件。</translation>
    </message>
    <message>
        <source>S&amp;top and Close</source>
        <translation>停止并关闭(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Continue</source>
        <translation>继续制作(&amp;C)</translation>
    </message>
    <message>
        <source>No kit is being made</source>
        <translation>未在制作字体包</translation>
    </message>
    <message>
        <source>Placing the files…</source>
        <translation>正在放置文件…</translation>
    </message>
    <message>
        <source>CSS family: %1</source>
        <translation>CSS 字体族名：%1</translation>
    </message>
    <message>
        <source>the font&apos;s own</source>
        <translation>字体自身的</translation>
    </message>
    <message>
        <source>language: %1</source>
        <translation>语言：%1</translation>
    </message>
    <message>
        <source>automatic</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>font-display: %1</source>
        <translation>font-display：%1</translation>
    </message>
    <message>
        <source>local() sources</source>
        <translation>使用 local()</translation>
    </message>
    <message>
        <source> · </source>
        <comment>between the options on the line under Options</comment>
        <translation> · </translation>
    </message>
</context>
</TS>
