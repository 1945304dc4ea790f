<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
        <source>Select From System Font</source>
        <translation>从系统字体中选择</translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation>选择字体</translation>
    </message>
    <message>
        <source>Select Font File</source>
        <translation>选择字体文件</translation>
    </message>
    <message>
        <source>Save Font File</source>
        <translation>保存字体文件</translation>
    </message>
    <message>
        <source>Please input the characters</source>
        <translation>请输入要保留的字符</translation>
    </message>
    <message>
        <source>Import From File</source>
        <translation>从文件导入</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>选择文件</translation>
    </message>
    <message>
        <source>Font File(*.ttf *.woff2)</source>
        <translation>字体文件(*.ttf *.woff2)</translation>
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
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Output Directory</source>
        <translation>输出目录</translation>
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
        <source>The font lacks %1 of the characters.</source>
        <translation>字体缺少其中 %1 个字符。</translation>
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
</context>
<context>
    <name>WebFontPage</name>
    <message>
        <source>Open Folder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <source>Open Preview</source>
        <translation>打开预览</translation>
    </message>
    <message>
        <source>The preview page is served at %1 while this box is open.</source>
        <translation>此对话框打开期间，预览页面在 %1 提供。</translation>
    </message>
    <message>
        <source>The preview page cannot be served: no local port could be opened.</source>
        <translation>无法提供预览页面：无法打开本地端口。</translation>
    </message>
    <message>
        <source>Select From System Font</source>
        <translation>从系统字体中选择</translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation>选择字体</translation>
    </message>
    <message>
        <source>Select Font File</source>
        <translation>选择字体文件</translation>
    </message>
    <message>
        <source>Only these characters</source>
        <translation>仅保留这些字符</translation>
    </message>
    <message>
        <source>Empty: every character of the font</source>
        <translation>留空：保留字体的全部字符</translation>
    </message>
    <message>
        <source>Import From File</source>
        <translation>从文件导入</translation>
    </message>
    <message>
        <source>Output Directory</source>
        <translation>输出目录</translation>
    </message>
    <message>
        <source>%v of %m slices</source>
        <translation>%v / %m 个分片</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>选择文件</translation>
    </message>
    <message>
        <source>Font File(*.ttf *.otf *.woff2)</source>
        <translation>字体文件(*.ttf *.otf *.woff2)</translation>
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
        <source>No program could open %1.</source>
        <translation>没有能打开 %1 的程序。</translation>
    </message>
</context>
</TS>
